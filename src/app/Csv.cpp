#include "app/Csv.h"

#include "classeur/Classeur.h"

#include <QSaveFile>

#include <QDateTime>
#include <QTextStream>

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyk {

QString champCsv(const QString &texte, QChar separateur)
{
    if (!texte.contains(separateur) && !texte.contains(u'"') && !texte.contains(u'\n') &&
        !texte.contains(u'\r'))
        return texte;
    QString r = texte;
    r.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + r + u'"';
}

QString texteExport(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 00:00:00");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

QString ligneCsv(const QStringList &champs, QChar separateur)
{
    QStringList r;
    r.reserve(champs.size());
    for (const QString &c : champs)
        r << champCsv(c, separateur);
    return r.join(separateur);
}

LecteurCsv::LecteurCsv(QStringView texte, QChar separateur)
    : m_texte(texte), m_separateur(separateur)
{
}

void LecteurCsv::agrandir()
{
    m_champs.resize(std::max<qsizetype>(16, 2 * m_champs.size()));
    m_sortie = m_champs.data();
}

// Plain characters from i, a field closed at each separator, up to a quote or a line break:
// their index, or the text's end. Eight characters are looked at together where the processor
// allows; the characters after the last group of eight one by one. The fields are counted in
// locals, written back when the array grows and at the end.
qsizetype LecteurCsv::champsOrdinaires(qsizetype i, qsizetype &debut)
{
    const char16_t *const d = m_texte.utf16();
    const qsizetype n = m_texte.size();
    const char16_t separateur = m_separateur.unicode();
    qsizetype nb = m_nbChamps, de = debut, place = m_champs.size();
    QStringView *sortie = m_sortie;
    auto champ = [&](qsizetype fin) {
        if (nb == place) {
            m_nbChamps = nb;
            agrandir();
            place = m_champs.size();
            sortie = m_sortie;
        }
        sortie[nb++] = QStringView(d + de, fin - de);
        de = fin + 1;
    };
    auto fini = [&](qsizetype position) {
        m_nbChamps = nb;
        debut = de;
        return position;
    };
#if defined(__SSE2__)
    const __m128i s = _mm_set1_epi16(short(separateur)), q = _mm_set1_epi16('"'),
                  cr = _mm_set1_epi16('\r'), lf = _mm_set1_epi16('\n');
    for (; i + 8 <= n; i += 8) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
        const __m128i arrets = _mm_or_si128(
            _mm_cmpeq_epi16(x, q), _mm_or_si128(_mm_cmpeq_epi16(x, cr), _mm_cmpeq_epi16(x, lf)));
        // Low byte: one bit per separator; high byte: one per quote or line break.
        const unsigned bits =
            unsigned(_mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(x, s), arrets)));
        const unsigned arret = bits >> 8;
        unsigned avant = bits & 0xFF;
        if (arret) avant &= (arret & (0u - arret)) - 1; // separators before the first stop
        for (; avant; avant &= avant - 1)
            champ(i + std::countr_zero(avant));
        if (arret) return fini(i + std::countr_zero(arret));
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = d[i];
        if (c == separateur)
            champ(i);
        else if (c == u'"' || c == u'\r' || c == u'\n')
            return fini(i);
    }
    return fini(n);
}

void LecteurCsv::terminerTampon()
{
    m_tampons << m_courant;
    ajouterChamp(m_tampons.last());
    m_courant.clear();
}

// A field is a view into the text unless a quote opened it (its doubled quotes and line breaks
// are then rewritten into a buffer of the record).
bool LecteurCsv::suivant()
{
    m_nbChamps = 0;
    m_tampons.clear();
    if (m_i >= m_texte.size()) {
        m_champs.clear();
        return false;
    }
    m_champs.resize(m_largeur);
    m_sortie = m_champs.data();
    m_ligne = m_ligneCourante;
    const QStringView t = m_texte;
    const char16_t *const d = t.utf16();
    const qsizetype n = t.size();
    qsizetype debut = m_i;
    bool tampon = false, guillemets = false;
    auto finir = [&](qsizetype fin) {
        if (tampon)
            terminerTampon();
        else
            ajouterChamp(QStringView(d + debut, fin - debut));
    };
    auto terminer = [&](bool lu) {
        m_largeur = std::max(m_largeur, m_champs.size());
        m_champs.resize(m_nbChamps);
        return lu;
    };
    while (m_i < n) {
        // Outside quotes only the separator, a quote and a line break mean anything.
        if (!guillemets && !tampon) m_i = champsOrdinaires(m_i, debut);
        if (m_i == n) break;
        const qsizetype position = m_i;
        const QChar c = t[m_i++];
        const bool saut = c == u'\n' || c == u'\r';
        if (saut) {
            // CRLF, LF and a lone CR (old spreadsheet exports) each end one line.
            if (c == u'\r' && m_i < n && t[m_i] == u'\n') ++m_i;
            ++m_ligneCourante;
        }
        if (guillemets) {
            if (c != u'"')
                m_courant += saut ? QChar(u'\n') : c;
            else if (m_i < n && t[m_i] == u'"')
                m_courant += t[m_i++];
            else
                guillemets = false;
        } else if (saut) {
            finir(position);
            return terminer(true);
        } else if (c == u'"' &&
                   (tampon ? QStringView(m_courant) : t.sliced(debut, position - debut))
                       .trimmed()
                       .isEmpty()) {
            m_courant.clear();
            tampon = guillemets = true;
        } else if (c == m_separateur) {
            finir(position);
            debut = m_i;
            tampon = false;
        } else if (tampon) {
            m_courant += c;
        }
    }
    if (guillemets) {
        m_erreur = QStringLiteral("Ligne %1 : un guillemet ouvert n'est jamais refermé ; le "
                                  "fichier n'est pas lu.")
                       .arg(m_ligne);
        m_champs.clear();
        m_i = t.size();
        return false;
    }
    finir(m_i);
    return terminer(true);
}

bool lireCsv(const QString &texte, QChar separateur, QVector<EnregistrementCsv> &enregistrements,
             QString &erreur)
{
    enregistrements.clear();
    LecteurCsv lecteur(texte, separateur);
    while (lecteur.suivant()) {
        EnregistrementCsv e;
        e.ligne = lecteur.ligne();
        e.champs.reserve(lecteur.champs().size());
        for (const QStringView c : lecteur.champs())
            e.champs << c.toString();
        enregistrements << std::move(e);
    }
    if (lecteur.erreur().isEmpty()) return true;
    // The row would swallow every line after it: the file is refused, nothing is guessed.
    erreur = lecteur.erreur();
    enregistrements.clear();
    return false;
}

bool champsVides(const QVector<QStringView> &champs)
{
    for (const QStringView c : champs)
        if (!c.trimmed().isEmpty()) return false;
    return true;
}

bool enregistrementVide(const QStringList &champs)
{
    for (const QString &c : champs)
        if (!c.trimmed().isEmpty()) return false;
    return true;
}

void ecrireCsv(const Tableau &tableau, QTextStream &sortie, QChar separateur,
               const QString &finLigne, const QStringList &entetes)
{
    sortie << ligneCsv(entetes.isEmpty() ? tableau.colonnes() : entetes, separateur) << finLigne;
    QStringList champs;
    for (int l = 0; l < tableau.nbLignes(); ++l) {
        champs.clear();
        for (int c = 0; c < tableau.nbColonnes(); ++c)
            champs << texteExport(tableau(l, c));
        sortie << ligneCsv(champs, separateur) << finLigne;
    }
}

bool exporterGrilleFichier(const QString &chemin, const QString &feuille, const QStringList &titres,
                           const QVector<QStringList> &lignes, QString *erreur)
{
    if (cheminClasseur(chemin)) return exporterClasseur(chemin, feuille, titres, lignes, erreur);
    QSaveFile fichier(chemin);
    QString texte = QStringLiteral("\uFEFF") + ligneCsv(titres, u';') + QStringLiteral("\r\n");
    for (const QStringList &ligne : lignes)
        texte += ligneCsv(ligne, u';') + QStringLiteral("\r\n");
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(texte.toUtf8()) < 0 ||
        !fichier.commit()) {
        if (erreur)
            *erreur = QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                          .arg(chemin, fichier.errorString());
        return false;
    }
    return true;
}

} // namespace vyk
