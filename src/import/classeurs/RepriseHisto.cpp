#include "import/classeurs/RepriseHisto.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/CleColonne.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/ChampsTrame.h"
#include "import/ImportSandre1997.h"
#include "import/IntegrationInterne.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cmath>

namespace vyk {

namespace {

const QStringList REQUIS = {QStringLiteral("CODE STATION"), QStringLiteral("DATE")};
const char *const OBSERVATIONS[] = {
    "OBSERVATION", "SUBSTRAT",      "SUBSTRAT SECONDAIRE",   "HABITAT 1",
    "HABITAT 2",   "PROFONDEUR CM", "HAUTEUR DU COURS D'EAU"};
const char *const LIBELLES_OBSERVATIONS[] = {
    "Observation:", "SUBSTRAT:",      "SUBSTRAT Secondaire:",   "Habitat 1:",
    "Habitat 2:",   "Profondeur cm:", "Hauteur du cours d'eau:"};
const QString POINT = QStringLiteral("131");
constexpr int ECHANTILLONS_MARGINAUX = 4;

// The sheet's cells of one row, by header name.
class Colonnes
{
  public:
    Colonnes(const Feuille &f, const EnTete &e) : m_f(f), m_e(e) {}
    QString operator()(int ligne, const char *nom) const
    {
        const int c = m_e.colonnes.value(cleColonne(QString::fromUtf8(nom)));
        return c > 0 ? texteUtile(m_f, ligne, c) : QString();
    }

  private:
    const Feuille &m_f;
    const EnTete &m_e;
};

LigneHisto lireLigne(const Colonnes &c, int l)
{
    LigneHisto h;
    h.ligne = l;
    h.station = c(l, "CODE STATION");
    h.nom = c(l, "STATION");
    h.lieuDit = c(l, "LIEUDIT");
    h.x = c(l, "X");
    h.y = c(l, "Y");
    h.projection = c(l, "PROJECTION");
    h.insee = c(l, "CODE INSEE");
    h.reseau = c(l, "RESEAU");
    h.date = c(l, "DATE");
    h.heure = c(l, "HEURE");
    h.protocole = c(l, "PROTOCOLE");
    h.methode = c(l, "METHODE");
    h.preleveur = c(l, "PRELEVEUR");
    h.determinateur = c(l, "DETERMINATEUR");
    h.producteur = c(l, "PRODUCTEUR");
    for (size_t i = 0; i < h.observations.size(); ++i)
        h.observations[i] = c(l, OBSERVATIONS[i]);
    h.taxon = c(l, "CODE TAXON");
    h.effectif = c(l, "EFFECTIF");
    for (size_t i = 0; i < h.p.size(); ++i)
        h.p[i] = c(l, QStringLiteral("P%1").arg(i + 1).toLatin1().constData());
    return h;
}

bool vide(const LigneHisto &h)
{
    return h.station.isEmpty() && h.date.isEmpty() && h.taxon.isEmpty();
}

} // namespace

QString lireRepriseHisto(const Classeur &classeur, const ChoixFeuille &choisir,
                         QVector<LigneHisto> &lignes)
{
    // The sheets holding the header; the user chooses when there are several.
    QStringList candidates;
    QVector<EnTete> entetes;
    for (int i = 1; i <= classeur.nombreFeuilles(); ++i) {
        EnTete e = chercherEnTete(*classeur.feuille(i), REQUIS);
        if (e.ligne == 0) continue;
        candidates << classeur.feuille(i)->nom();
        entetes << e;
    }
    qsizetype choix = candidates.isEmpty() ? -1 : 0;
    if (candidates.size() > 1 && choisir) choix = candidates.indexOf(choisir(candidates));
    if (choix < 0) return texteClasseurs::feuilleAbsente(classeur.chemin());
    const Feuille &f = *classeur.feuille(candidates.at(choix));
    const EnTete &e = entetes.at(choix);
    const Colonnes colonnes(f, e);
    for (int l = e.ligne + 1; l <= f.derniereLigne(); ++l) {
        LigneHisto h = lireLigne(colonnes, l);
        if (!vide(h)) lignes << h;
    }
    return {};
}

namespace {

// What the frame needs of the database and the settings, read once per code.
class Traductions
{
  public:
    // The taxon's SANDRE code when TAXONS_CORRESP lists it, else the code as written.
    QString taxon(const QString &code)
    {
        auto t = m_taxons.constFind(code);
        if (t != m_taxons.constEnd()) return *t;
        const QString sandre =
            premiere(QStringLiteral("SELECT Sandre FROM TAXONS_CORRESP WHERE code=?"), {code})
                .toString()
                .trimmed();
        return m_taxons[code] = sandre.isEmpty() ? code : sandre;
    }
    // The organisation's SANDRE code, else its SIRET; the setting `reglage` when the cell is
    // empty. False with why when it is not in INTERVENANTS or has neither.
    bool intervenant(const QString &cellule, const QString &reglage, QString &code, QString &erreur)
    {
        const QString numero = cellule.isEmpty() ? lireRegistre(reglage).trimmed() : cellule;
        code.clear();
        if (numero.isEmpty()) return true;
        auto i = m_intervenants.constFind(numero);
        if (i == m_intervenants.constEnd()) i = m_intervenants.insert(numero, lire(numero));
        code = *i;
        if (!code.isEmpty()) return true;
        erreur = QStringLiteral("l'intervenant « %1 » (%2) n'existe pas ou n'a ni code SANDRE "
                                "ni SIRET")
                     .arg(numero, reglage.toUpper());
        return false;
    }

  private:
    static QString lire(const QString &numero)
    {
        const Nombre n = enNombre(numero);
        if (!n.estNombre()) return {};
        const QVector<QVariant> valeurs = {qint64(n.valeur)};
        const QString sandre =
            premiere(QStringLiteral("SELECT codeSandre, SIRET FROM INTERVENANTS WHERE "
                                    "codeIntervenant=?"),
                     valeurs, 0)
                .toString()
                .trimmed();
        if (!sandre.isEmpty()) return sandre;
        return premiere(QStringLiteral("SELECT codeSandre, SIRET FROM INTERVENANTS WHERE "
                                       "codeIntervenant=?"),
                        valeurs, 1)
            .toString()
            .trimmed();
    }
    QHash<QString, QString> m_taxons, m_intervenants;
};

// An operation of the sheet: its first row's values, completed by the later rows.
struct OperationHisto
{
    LigneHisto premiere;
    QString date, heure;
    QStringList taxons; // the TXD records
    std::array<bool, 12> echantillons{};
    QHash<QString, int> lignesTaxons; // translated code -> sheet row
};

struct StationHisto
{
    LigneHisto premiere;
    QDate debut; // of the network membership: the earliest operation
    QVector<OperationHisto> operations;
};

QString refus(const LigneHisto &h, const QString &pourquoi)
{
    return QStringLiteral("ligne %1 : ").arg(h.ligne) + pourquoi;
}

QString valeurRefusee(const QString &colonne, const QString &valeur, const char *attendu)
{
    return QStringLiteral("la valeur « %1 » de la colonne « %2 » n'est pas %3")
        .arg(valeur, colonne, QString::fromUtf8(attendu));
}

// The numbers of the row that the frame reads as such; "" or why one is not.
QString verifierNombres(const LigneHisto &h)
{
    const QList<std::pair<const char *, const QString *>> nombres = {
        {"X", &h.x}, {"Y", &h.y}, {"EFFECTIF", &h.effectif}};
    for (const auto &[nom, v] : nombres)
        if (!v->isEmpty() && !estNombre(*v))
            return valeurRefusee(QString::fromUtf8(nom), *v, "un nombre");
    for (size_t i = 0; i < h.p.size(); ++i)
        if (!h.p[i].isEmpty() && !estNombre(h.p[i]))
            return valeurRefusee(QStringLiteral("P%1").arg(i + 1), h.p[i], "un nombre");
    const QList<std::pair<const char *, const QString *>> entiers = {
        {"PROJECTION", &h.projection}, {"PROTOCOLE", &h.protocole}, {"METHODE", &h.methode}};
    for (const auto &[nom, v] : entiers) {
        const Nombre n = enNombre(*v, true);
        if (!v->isEmpty() && (!n.estNombre() || n.valeur != std::floor(n.valeur)))
            return valeurRefusee(QString::fromUtf8(nom), *v, "un nombre entier");
    }
    return {};
}

// The row's date as DD/MM/YYYY and time as hh:mm:ss ("" when none); "" or why they do not read.
QString dateEtHeure(const LigneHisto &h, QString &date, QString &heure)
{
    if (h.station.isEmpty()) return QStringLiteral("le code de la station n'est pas renseigné");
    const QDateTime d = lireDate(h.date);
    if (!d.isValid()) return valeurRefusee(QStringLiteral("DATE"), h.date, "une date");
    date = d.date().toString(QStringLiteral("dd/MM/yyyy"));
    heure.clear();
    if (h.heure.isEmpty()) return {};
    QTime t = QTime::fromString(h.heure, QStringLiteral("HH:mm:ss"));
    if (!t.isValid()) t = QTime::fromString(h.heure, QStringLiteral("HH:mm"));
    if (!t.isValid()) return valeurRefusee(QStringLiteral("HEURE"), h.heure, "une heure");
    heure = t.toString(QStringLiteral("HH:mm:ss"));
    return {};
}

QString commentaire(const LigneHisto &h)
{
    QStringList parties;
    for (size_t i = 0; i < h.observations.size(); ++i)
        if (!h.observations[i].isEmpty())
            parties << QString::fromUtf8(LIBELLES_OBSERVATIONS[i]) + u' ' + h.observations[i];
    return parties.join(QStringLiteral(" ; "));
}

// A record without its empty trailing fields.
QString enregistrement(QStringList champs)
{
    while (champs.size() > 2 && champs.last().isEmpty())
        champs.removeLast();
    return enregistrementTrame(champs);
}

QStringList cleOperation(const QString &station, const OperationHisto &o)
{
    return {station, POINT, o.date, o.heure, o.premiere.protocole};
}

// Adds the row to its station and operation (created in the order met); "" or why it is refused.
QString placer(const LigneHisto &h, Traductions &tr, QVector<StationHisto> &stations,
               QHash<QString, int> &indexStations)
{
    QString date, heure;
    QString e = dateEtHeure(h, date, heure);
    if (e.isEmpty()) e = verifierNombres(h);
    if (!e.isEmpty()) return e;
    int &s = indexStations[h.station];
    if (s == 0) {
        stations.append({h, {}, {}});
        s = int(stations.size());
    }
    StationHisto &station = stations[s - 1];
    const QDate jour = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
    if (!station.debut.isValid() || jour < station.debut) station.debut = jour;
    auto o =
        std::find_if(station.operations.begin(), station.operations.end(),
                     [&](const OperationHisto &x) { return x.date == date && x.heure == heure; });
    if (o == station.operations.end()) {
        station.operations.append({h, date, heure, {}, {}, {}});
        o = station.operations.end() - 1;
    }
    for (size_t i = 0; i < h.observations.size(); ++i)
        if (o->premiere.observations[i].isEmpty()) o->premiere.observations[i] = h.observations[i];
    if (h.taxon.isEmpty()) return {};
    const QString code = tr.taxon(h.taxon);
    if (const int deja = o->lignesTaxons.value(code))
        return QStringLiteral("le taxon %1 figure déjà ligne %2 pour cette opération")
            .arg(code)
            .arg(deja);
    o->lignesTaxons.insert(code, h.ligne);
    QStringList txd = QStringList{QStringLiteral("TXD")} + cleOperation(h.station, *o) +
                      QStringList{QStringLiteral("1"), code, h.effectif};
    txd.resize(20); // fields 10 to 20: percentages, unit, stage, remark...
    for (size_t i = 0; i < h.p.size(); ++i) {
        txd << h.p[i];
        o->echantillons[i] = o->echantillons[i] || !h.p[i].isEmpty();
    }
    o->taxons << enregistrement(txd);
    return {};
}

QString nomStation(const LigneHisto &h)
{
    if (h.nom.isEmpty() || h.lieuDit.isEmpty()) return h.nom + h.lieuDit;
    return h.nom + QStringLiteral(" à ") + h.lieuDit;
}

// The operation's records: OPH, its elementary samples, its taxa.
QString ecrireOperation(const QString &station, const OperationHisto &o, Traductions &tr,
                        QStringList &trame)
{
    const LigneHisto &h = o.premiere;
    QString preleveur, determinateur, producteur, erreur;
    if (!tr.intervenant(h.preleveur, reglage::Preleveur, preleveur, erreur) ||
        !tr.intervenant(h.determinateur, reglage::Determinateur, determinateur, erreur) ||
        !tr.intervenant(h.producteur, reglage::Producteur, producteur, erreur))
        return refus(h, erreur);
    const QStringList cle = cleOperation(station, o);
    trame << enregistrement(
        QStringList{QStringLiteral("OPH")} + cle +
        QStringList{{}, {}, h.methode, preleveur, determinateur, commentaire(h), producteur});
    for (int i = 0; i < int(o.echantillons.size()); ++i)
        if (o.echantillons[size_t(i)])
            trame << enregistrement(
                QStringList{QStringLiteral("PRE")} + cle +
                QStringList{QString::number(i + 1),
                            i < ECHANTILLONS_MARGINAUX ? QStringLiteral("M") : QStringLiteral("N"),
                            QString::number(i < ECHANTILLONS_MARGINAUX ? 1
                                            : i < 8                    ? 2
                                                                       : 3)});
    trame << o.taxons;
    return {};
}

} // namespace

QString trameRepriseHisto(const QVector<LigneHisto> &lignes, Progression &progression,
                          QStringList &trame)
{
    Traductions tr;
    QVector<StationHisto> stations;
    QHash<QString, int> index;
    for (const LigneHisto &h : lignes) {
        progression.message(texteRepriseHisto::LIGNE + QString::number(h.ligne));
        if (const QString e = placer(h, tr, stations, index); !e.isEmpty()) return refus(h, e);
    }
    QStringList t = {QStringLiteral("DEC|VYK|REPRISE_HISTO"), QStringLiteral("DEB|GDES")};
    for (const StationHisto &s : std::as_const(stations)) {
        const LigneHisto &h = s.premiere;
        t << enregistrement(
            {QStringLiteral("STQ"), h.station, nomStation(h), h.x, h.y, h.projection, h.insee});
        if (!h.reseau.isEmpty())
            t << enregistrement({QStringLiteral("STM"), h.station, h.reseau,
                                 s.debut.toString(QStringLiteral("dd/MM/yyyy"))});
        for (const OperationHisto &o : s.operations)
            if (const QString e = ecrireOperation(h.station, o, tr, t); !e.isEmpty()) return e;
    }
    t << QStringLiteral("FIN|GDES");
    trame = t;
    return {};
}

QString cheminTrame(const QString &classeur)
{
    const QFileInfo f(classeur);
    return f.dir().filePath(f.completeBaseName() + QStringLiteral(".txt"));
}

QString ecrireTrame(const QString &chemin, const QStringList &trame, const Confirmation &remplacer)
{
    const QByteArray octets =
        (trame.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    QFile existant(chemin);
    if (existant.exists()) {
        if (existant.open(QIODevice::ReadOnly) && existant.readAll() == octets) return {};
        if (!remplacer || !remplacer(texteRepriseHisto::questionRemplacer(chemin)))
            return texteRepriseHisto::fichierConserve(chemin);
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly) || f.write(octets) != octets.size() || !f.commit())
        return QStringLiteral("Impossible d'écrire le fichier ") + chemin + QStringLiteral(" : ") +
               f.errorString();
    return {};
}

const QStringList &colonnesApercuHisto()
{
    static const QStringList c = {QStringLiteral("Ligne"),      QStringLiteral("Identifiant"),
                                  QStringLiteral("Station"),    QStringLiteral("Date"),
                                  QStringLiteral("Code taxon"), QStringLiteral("Effectif")};
    return c;
}

QStringList ligneApercu(const LigneHisto &l)
{
    return {QString::number(l.ligne), l.station, nomStation(l), l.date, l.taxon, l.effectif};
}

QString integrerRepriseHisto(const QString &chemin, const QVector<LigneHisto> &lignes,
                             OptionsIntegration &options, Progression &progression,
                             const ReponsesIntegration &reponses, BilanAnalyses &bilan,
                             ElementsIgnores &ignores)
{
    QStringList trame;
    if (const QString e = trameRepriseHisto(lignes, progression, trame); !e.isEmpty()) return e;
    // A check run leaves no file behind.
    QTemporaryDir temporaire;
    const QString cible = options.controle
                              ? temporaire.filePath(QFileInfo(cheminTrame(chemin)).fileName())
                              : cheminTrame(chemin);
    if (const QString e = ecrireTrame(cible, trame, reponses.remplacerFichier); !e.isEmpty())
        return e;
    return integrerSandre1997(cible, options, progression, reponses, bilan, ignores);
}

} // namespace vyk
