#include "import/ExtraitCode.h"

#include "app/Csv.h"
#include "db/FichiersTexte.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ChargementTexte.h"
#include "import/ExtraitCodeInterne.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace vyk {

namespace {

// clang-format off
const char *const ENTETE_NAIADES =
    "<ALQ.3.1997-1>;<STQ.3.1997-1>;<PRL.15.1997-1>;;<ALQ.22.1997-1>;;<PRL.8.1997-1>;;"
    "<ALQ.10.1997-1>;;<PAR.3.1997-1>;;<ALQ.12.1997-1>;<ALQ.27.1997-1>;;<ALQ.13.1997-1>;"
    "<ALQ.14.1997-1>;<ALQ.15.1997-1>;;<ALQ.100.1997-1>;<ALQ.101.1997-1>;;;;;<ALQ.20.1997-1>;;;;;"
    ";;;;;<ALQ.18.1997-1>;;<ALQ.16.1997-1>;<ALQ.17.1997-1>;<ALQ.8.1997-1>;;<ALQ.26.1997-1>;;"
    "<ALQ.19.1997-1>;";
const char *const ENTETE_EXTRACTION =
    "<ALQ.3.1997-1>;<STQ.3.1997-1>;<STQ.26.1997-1>;<STQ.100.1997-1>;<STQ.101.1997-1>;;"
    "<PRL.8.1997-1>;<ALQ.10.1997-1>;;<PAR.3.1997-1>;;<PRL.15.1997-1>;;<ALQ.22.1997-1>;;"
    "<PRL.16.1997-1>;;<ALQ.20.1997-1>;;<ALQ.12.1997-1>;<ALQ.27.1997-1>;;<ALQ.100.1997-1>;"
    "<ALQ.101.1997-1>;<ALQ.18.1997-1>;<ALQ.13.1997-1>;<ALQ.102.1997-1>;;;<ALQ.19.1997-1>;";
const char *const ENTETE_COURT =
    "<ALQ.3.1997-1>;<STQ.3.1997-1>;<STQ.26.1997-1>;<STQ.100.1997-1>;<STQ.101.1997-1>;;"
    "<PRL.8.1997-1>;;<PAR.3.1997-1>;;<PRL.15.1997-1>;;<ALQ.22.1997-1>;;<ALQ.20.1997-1>;;;;"
    "<ALQ.12.1997-1>;<ALQ.27.1997-1>;;;;<ALQ.18.1997-1>;<ALQ.13.1997-1>;<ALQ.102.1997-1>;;;"
    "<ALQ.19.1997-1>;";
// clang-format on

// "<ALQ.12.1997-1>" or "ALQ.12" gives "ALQ.12"; anything else "".
QString codeColonne(const QString &entete)
{
    static const QRegularExpression motif(
        QStringLiteral("^<?\\s*([A-Za-z]{3})\\.(\\d+)(\\.1997-1)?\\s*>?$"));
    const QRegularExpressionMatch m = motif.match(entete.trimmed());
    return m.hasMatch() ? m.captured(1).toUpper() + u'.' + m.captured(2) : QString();
}

// Whether a record has the header's fields; a closing ";" on one side and not on the other
// leaves an empty field that does not count.
bool memesChamps(const QVector<QStringView> &champs, const QStringList &titres)
{
    const qsizetype n = champs.size(), m = titres.size();
    return n == m || (n == m + 1 && champs.last().isEmpty()) ||
           (n + 1 == m && titres.last().isEmpty());
}

QStringView nettoyer(QStringView v)
{
    // Most values have neither blank nor quote at their ends.
    auto bord = [](QChar c) { return c == u'"' || c.isSpace(); };
    if (v.isEmpty() || (!bord(v.front()) && !bord(v.back()))) return v;
    QStringView t = v.trimmed();
    if (t.startsWith(u'"')) t = t.sliced(1);
    if (t.endsWith(u'"')) t.chop(1);
    return t;
}

// The extract's texts, each distinct value held once whatever its column and rows (units,
// codes, dates and results come back all through a file).
class TextesDistincts
{
  public:
    // The index of the value, added to the extract when new.
    quint32 indice(QStringView v, ExtraitCode &extrait)
    {
        if (const auto i = m_indices.constFind(v); i != m_indices.constEnd()) return *i;
        const quint32 n = extrait.ajouterTexte(v.toString());
        m_indices.insert(extrait.texte(n), n);
        return n;
    }

  private:
    // Keys view the extract's own texts, whose characters stay in place.
    QHash<QStringView, quint32> m_indices;
};

// The data records after the header, only the columns that carry a code kept.
QString lireLignesCode(LecteurCsv &lecteur, const QStringList &titres, ExtraitCode &extrait,
                       Progression &progression, const QString &trop, int limite)
{
    const int largeur = extrait.largeur();
    TextesDistincts textes;
    QVector<qsizetype> lues; // file column of each kept one
    for (qsizetype c = 0; c < extrait.codes.size(); ++c)
        if (extrait.colonneLue(c) >= 0) lues << c;
    const qsizetype *const colonnes = lues.constData();
    while (lecteur.suivant()) {
        if (progression.annule()) return texteChargement::ANNULE;
        const QVector<QStringView> &champs = lecteur.champs();
        if (champsVides(champs)) continue;
        if (!memesChamps(champs, titres)) {
            extrait.rejets.append(
                {0, QStringLiteral("ligne ") + QString::number(lecteur.ligne()),
                 texteExtraitCode::champsLigne(int(champs.size()), int(titres.size()))});
            continue;
        }
        quint32 *cellules = extrait.ajouterLigne(lecteur.ligne());
        // Consecutive rows mostly repeat a column's value (station, date, unit...): the previous
        // row's text is taken again, without a lookup.
        const quint32 *precedente = extrait.nombreLignes() > 1 ? cellules - largeur : nullptr;
        const QStringView *const valeurs = champs.constData();
        const qsizetype nombre = champs.size();
        for (int k = 0; k < largeur; ++k) {
            const qsizetype c = colonnes[k];
            if (c >= nombre || valeurs[c].isEmpty()) continue;
            const QStringView v = nettoyer(valeurs[c]);
            if (v.isEmpty()) continue;
            if (precedente) {
                const QString &p = extrait.texte(precedente[k]);
                if (p.size() == v.size() &&
                    std::memcmp(p.constData(), v.data(), size_t(v.size()) * sizeof(QChar)) == 0) {
                    cellules[k] = precedente[k];
                    continue;
                }
            }
            cellules[k] = textes.indice(v, extrait);
        }
        if (extrait.nombreLignes() >= limite) return trop;
        if (extrait.nombreLignes() % 100 == 0)
            progression.message(QStringLiteral("Chargement ligne ") +
                                QString::number(extrait.nombreLignes()));
    }
    return lecteur.erreur();
}

} // namespace

void ExtraitCode::vider()
{
    m_cellules.clear();
    m_textes = QStringList{QString()};
    m_lignesFichier.clear();
    rejets.clear();
}

int ExtraitCode::colonne(const QString &code) const
{
    return m_index.value(code, -1);
}

QString ExtraitCode::origine(int ligne) const
{
    return QStringLiteral("ligne ") + QString::number(m_lignesFichier.at(ligne));
}

void ExtraitCode::indexer()
{
    vider();
    m_index.clear();
    m_lues.fill(-1, codes.size());
    m_largeur = 0;
    for (int i = 0; i < codes.size(); ++i) {
        if (codes[i].isEmpty()) continue;
        if (!m_index.contains(codes[i])) m_index.insert(codes[i], m_largeur);
        m_lues[i] = m_largeur++;
    }
}

quint32 *ExtraitCode::ajouterLigne(qsizetype ligneFichier)
{
    m_lignesFichier << ligneFichier;
    m_cellules.resize(m_cellules.size() + m_largeur);
    return m_cellules.data() + m_cellules.size() - m_largeur;
}

QString enTeteCode(EnTeteCode entete)
{
    switch (entete) {
    case EnTeteCode::Naiades:
        return QString::fromLatin1(ENTETE_NAIADES);
    case EnTeteCode::QualiteauExtraction:
        return QString::fromLatin1(ENTETE_EXTRACTION);
    case EnTeteCode::QualiteauCourt:
        return QString::fromLatin1(ENTETE_COURT);
    case EnTeteCode::Fichier:
        break;
    }
    return {};
}

QString chargerExtraitCodeOctets(const QByteArray &octets, ExtraitCode &extrait,
                                 Progression &progression, EnTeteCode entete, int limite)
{
    extrait.codes.clear();
    extrait.indexer();
    const bool marque = octets.startsWith("\xEF\xBB\xBF");
    const QString texte = decoderTexte(marque ? octets.sliced(3) : octets);
    LecteurCsv lecteur(texte, u';');
    if (!lecteur.suivant()) return lecteur.erreur();
    const bool fixe = entete != EnTeteCode::Fichier;
    QStringList titres;
    if (fixe)
        titres = enTeteCode(entete).split(u';');
    else
        for (const QStringView c : lecteur.champs())
            titres << c.toString();
    for (const QString &t : std::as_const(titres))
        extrait.codes << codeColonne(t);
    extrait.indexer();
    const int attendus = int(titres.size());
    if (fixe && !memesChamps(lecteur.champs(), titres))
        return texteExtraitCode::nombreColonnes(int(lecteur.champs().size()), attendus);
    // The file's own codes are followed by a line of labels.
    if (!fixe) lecteur.suivant();
    const QString erreur =
        lireLignesCode(lecteur, titres, extrait, progression,
                       entete == EnTeteCode::Naiades || entete == EnTeteCode::Fichier
                           ? texteChargement::TROP_DE_LIGNES
                           : texteChargement::TROP_DE_LIGNES_GDES,
                       limite);
    if (!erreur.isEmpty()) extrait.vider();
    return erreur;
}

QString chargerExtraitCode(const QString &chemin, ExtraitCode &extrait, Progression &progression,
                           EnTeteCode entete)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        extrait.vider();
        return texteChargement::illisible(chemin);
    }
    return chargerExtraitCodeOctets(fichier.readAll(), extrait, progression, entete);
}

QString valeurCode(const QString &entite, int numero, const ExtraitCode &extrait, int ligne)
{
    const int c = extrait.colonne(entite + u'.' + QString::number(numero));
    if (c < 0 || ligne < 0 || ligne >= extrait.nombreLignes()) return {};
    return extrait.valeur(ligne, c);
}

QString cleStationCode(const QString &cle)
{
    QString c = cle.trimmed();
    if (c.toUpper().contains(QLatin1String("X-"))) c.remove(u'-');
    return c;
}

QDateTime dateCode(const QString &texte, bool *heureDonnee)
{
    const QString t = texte.trimmed();
    static const QRegularExpression separateur(QStringLiteral("[ T]"));
    const qsizetype blanc = t.indexOf(separateur);
    const QString jour = blanc < 0 ? t : t.left(blanc);
    const QString heure = blanc < 0 ? QString() : t.mid(blanc + 1).trimmed();
    QDate date;
    static const QRegularExpression huitChiffres(QStringLiteral("^\\d{8}$"));
    if (huitChiffres.match(jour).hasMatch())
        date = QDate::fromString(jour, QStringLiteral("yyyyMMdd"));
    else
        date = lireDate(dateSiecle(jour, QDate::currentDate().year())).date();
    if (!date.isValid()) return {};
    QTime h(0, 0);
    if (!heure.isEmpty()) {
        h = lireDate(QStringLiteral("01/01/2000 ") + heure).time();
        if (!h.isValid()) return {};
    }
    if (heureDonnee) *heureDonnee = !heure.isEmpty();
    return QDateTime(date, h);
}

QualificationCode qualificationCode(const QString &libelle)
{
    // clang-format off
    static const QHash<QString, QualificationCode> table = {
        {"BRUTE", {"4", "1"}}, {"CORRECTE", {"1", "2"}}, {"INCORRECTE", {"2", "2"}},
        {"INCERTAINE", {"3", "2"}}, {"CORR", {"1", "2"}}, {"ACOR", {"3", "2"}}};
    // clang-format on
    const QString l = libelle.trimmed().toUpper();
    if (const auto i = table.constFind(l); i != table.constEnd()) return *i;
    if (estNombre(l)) return {l, {}};
    return {};
}

SupportCode supportCode(const QString &sup2)
{
    // clang-format off
    static const QHash<QString, SupportCode> table = {
        {"6", {"061", "Sédiment"}}, {"4", {"041", "Poissons"}},
        {"7", {"071", "Matières en suspension (M.E.S.)"}},
        {"13", {"131", "Macro-invertébrés benthiques"}}, {"10", {"101", "Diatomées benthiques"}},
        {"27", {"271", "Macrophytes"}}, {"15", {"151", "Eaux interstitielles"}}};
    // clang-format on
    const auto i = table.constFind(sup2.trimmed());
    return i != table.constEnd() ? *i : SupportCode{QStringLiteral("031"), QStringLiteral("Eau")};
}

} // namespace vyk
