#include "app/Csv.h"

#include "classeur/Classeur.h"

#include <QSaveFile>

#include <QDateTime>
#include <QTextStream>

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
    m_ligne = m_ligneCourante;
    const QStringView t = m_texte;
    const char16_t *const d = t.utf16();
    const qsizetype n = t.size();
    const char16_t separateur = m_separateur.unicode();
    // Above the quote, only the separator means anything outside quotes: such runs are stepped
    // over at once, and a separator met there closes a plain field.
    auto ordinaire = [&](char16_t c) { return c > u'"' && c != separateur; };
    qsizetype debut = m_i;
    bool tampon = false, guillemets = false;
    auto finir = [&](qsizetype fin) {
        if (tampon)
            terminerTampon();
        else
            ajouterChamp(QStringView(d + debut, fin - debut));
    };
    auto terminer = [&](bool lu) {
        m_champs.resize(m_nbChamps);
        return lu;
    };
    while (m_i < n) {
        if (!guillemets && !tampon)
            for (;;) {
                while (m_i < n && ordinaire(d[m_i]))
                    ++m_i;
                if (m_i == n || d[m_i] != separateur) break;
                ajouterChamp(QStringView(d + debut, m_i - debut));
                debut = ++m_i;
            }
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
