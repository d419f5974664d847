// The quality step of the upgrade: data migrations of the sample tables, and the per-station
// analysis and taxa tables.

#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "schema/EtapesMiseAJour.h"
#include "schema/MiseAJour.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace vyk {

namespace {

const QString PRELEVEMENTS = QStringLiteral("PRELEVEMENTS");
const QString OPERATIONS = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");

QString cleDate(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDateTime().toString(Qt::ISODate);
}

QString cleNombre(const QVariant &v)
{
    return v.isNull() ? QString() : QString::number(v.toDouble(), 'g', 17);
}

} // namespace

void MiseAJour::etapeQualite()
{
    message(QStringLiteral("Mise à jour des données qualité"));
    migrerEtats();
    migrerSatellitesPrelevements();
    migrerOperationsPrelevements();
    migrerCodeDemande();
    migrerOmbrage();
    migrerParametrageData();
}

// The kinds of state assessment moved from the coded list 'ETATS' to their own table.
void MiseAJour::migrerEtats()
{
    if (!etat().tableExiste(QStringLiteral("CODES_SANDRE")) ||
        !etat().tableExiste(QStringLiteral("ETATS")))
        return;
    if (lire(QStringLiteral("SELECT count(*) AS nb FROM CODES_SANDRE WHERE champ='ETATS'"))
            .texte(0, QStringLiteral("nb"))
            .toInt() == 0)
        return;
    Transaction transaction(base());
    // Only the entries now in ETATS under the same label leave the code list: one whose code
    // ETATS holds with another label, or without code, stays where it is, for the administrator.
    if (sql(QStringLiteral("INSERT INTO ETATS (codeEtat, Libelle, commentaire) select code, "
                           "libelle, commentaire from codes_sandre "
                           "where champ='ETATS' and code is not null and code not in (SELECT "
                           "codeEtat FROM ETATS WHERE codeEtat is not null)")) &&
        sql(QStringLiteral("DELETE from codes_sandre where champ='ETATS' and EXISTS (SELECT * FROM "
                           "ETATS E WHERE E.codeEtat = "
                           "codes_sandre.code AND (E.Libelle = codes_sandre.libelle OR (E.Libelle "
                           "IS NULL AND codes_sandre.libelle IS NULL)))")) &&
        transaction.valider())
        return;
    noterInacheve(QStringLiteral("les états de la liste des codes n'ont pas pu être déplacés"));
}

// Files, bottles and purposes of a sample get the station of their sample. A sample number
// held by samples of several stations cannot tell which one: those rows stay without station
// rather than take a wrong one.
void MiseAJour::migrerSatellitesPrelevements()
{
    if (!etat().tableExiste(PRELEVEMENTS)) return;
    for (const char *nom :
         {"PRELEVEMENTS_DOSSIERS", "PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_FINALITES"}) {
        const QString table = QLatin1String(nom);
        ajouterColonneRemplie(
            table, QStringLiteral("codeQualitometre"),
            QStringLiteral("UPDATE ") + table +
                QStringLiteral(" SET codeQualitometre = (SELECT min(PRELEVEMENTS.CodeQualitometre) "
                               "FROM PRELEVEMENTS "
                               "WHERE PRELEVEMENTS.NumPrelevement = ") +
                table +
                QStringLiteral(
                    ".NumPrelevement) WHERE NumPrelevement IN (SELECT NumPrelevement FROM "
                    "PRELEVEMENTS "
                    "GROUP BY NumPrelevement HAVING count(DISTINCT CodeQualitometre) = 1)"));
    }
}

// Samples of older databases hang directly on the station: each is attached to the station's
// operation at its date and time, created when there is none (code = the station's largest + 1).
// Sample numbers are per station, so a sample is found by its number and its station.
void MiseAJour::migrerOperationsPrelevements()
{
    if (!etat().tableExiste(PRELEVEMENTS) ||
        etat().colonneExiste(PRELEVEMENTS, QStringLiteral("codeOperation")) ||
        !etat().tableExiste(OPERATIONS))
        return;
    message(QStringLiteral("Rattachement des prélèvements aux opérations"));
    Transaction transaction(base());
    if (!ajouterColonne(PRELEVEMENTS, *definitionTable(PRELEVEMENTS)->colonne(u"codeOperation")))
        return;
    bool ok = true;
    QHash<QString, double> operations; // station|date|heure -> code
    QHash<QString, double> maximum;    // station -> largest code
    {
        const Tableau t = lire(
            QStringLiteral("SELECT codeQualitometre, codeOperation, dateDebut, heureDebut FROM ") +
            OPERATIONS);
        for (int l = 0; l < t.nbLignes(); ++l) {
            auto v = [&](const char *c) -> const QVariant & {
                return t.valeur(l, QLatin1String(c));
            };
            const QString station = cleNombre(v("codeQualitometre"));
            if (station.isEmpty() || v("codeOperation").isNull()) continue;
            const double code = v("codeOperation").toDouble();
            operations.insert(
                station + u'|' + cleDate(v("dateDebut")) + u'|' + cleDate(v("heureDebut")), code);
            maximum[station] = maximum.contains(station) ? std::max(maximum[station], code) : code;
        }
    }
    long nb = 0;
    Tableau prelevements;
    ok = base().ExtraireRecords(
        QStringLiteral("SELECT DISTINCT numprelevement, codequalitometre, datedebut, heuredebut, "
                       "commentaire from PRELEVEMENTS "
                       "order by codequalitometre, datedebut, heuredebut, numprelevement"),
        nb, prelevements);
    InsertionMassive nouvelles(OPERATIONS,
                               {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                                QStringLiteral("dateDebut"), QStringLiteral("heureDebut"),
                                QStringLiteral("dateFin"), QStringLiteral("Commentaires")},
                               base());
    InstructionPreparee rattacher =
        base().preparer(QStringLiteral("UPDATE PRELEVEMENTS SET codeOperation = ? WHERE "
                                       "NumPrelevement = ? AND CodeQualitometre = ?"));
    ok = ok && nouvelles.estValide() && rattacher.estValide();
    for (int l = 0; ok && l < prelevements.nbLignes(); ++l) {
        if (l % 500 == 0) {
            progression().position(l, prelevements.nbLignes());
            if (annule()) {
                ok = false;
                break;
            }
        }
        auto v = [&](const char *c) -> const QVariant & {
            return prelevements.valeur(l, QLatin1String(c));
        };
        const QVariant &numero = v("numprelevement"), &station = v("codequalitometre");
        const QVariant &debut = v("datedebut"), &heure = v("heuredebut");
        if (numero.isNull() || station.isNull()) continue;
        const QString cleStation = cleNombre(station);
        const QString cle = cleStation + u'|' + cleDate(debut) + u'|' + cleDate(heure);
        auto it = operations.constFind(cle);
        double code;
        if (it != operations.constEnd()) {
            code = it.value();
        } else {
            code = maximum.contains(cleStation) ? maximum[cleStation] + 1 : 0;
            maximum[cleStation] = code;
            operations.insert(cle, code);
            ok = nouvelles.ajouter(
                {station.toDouble(), code, debut, heure, debut, v("commentaire")});
        }
        ok = ok && rattacher.executer({code, numero.toDouble(), station.toDouble()});
    }
    ok = ok && nouvelles.terminer() && nouvelles.erreurs().isEmpty();
    if (!ok || !transaction.valider()) {
        transaction.annuler();
        etat().oublierColonne(PRELEVEMENTS, QStringLiteral("codeOperation"));
        noterInacheve(
            QStringLiteral("les prélèvements n'ont pas pu être rattachés aux opérations"));
        return;
    }
    // The older table of operations goes once its samples are attached; rows it may still hold
    // are kept.
    const QString ancienne = QStringLiteral("QUALITOMETRES_OPERATIONS");
    if (etat().tableExiste(ancienne) &&
        lire(QStringLiteral("SELECT count(*) AS nb FROM qualitometres_operations"))
                .texte(0, QStringLiteral("nb")) == u"0" &&
        sql(QStringLiteral("DROP TABLE qualitometres_operations")))
        etat().oublierTable(ancienne);
}

void MiseAJour::migrerCodeDemande()
{
    ajouterColonneRemplie(PRELEVEMENTS, QStringLiteral("codeDemande"),
                          QStringLiteral("UPDATE PRELEVEMENTS SET codeDemande=NumLaboPrincipal"));
}

// Ombrage gave way to Ombrag: the values move before the old column goes.
void MiseAJour::migrerOmbrage()
{
    if (!etat().colonneExiste(OPERATIONS, QStringLiteral("ombrage")) ||
        !etat().colonneExiste(OPERATIONS, QStringLiteral("Ombrag")))
        return;
    Transaction transaction(base());
    if (sql(QStringLiteral(
            "UPDATE QUALITOMETRES_POINTS_OPERATIONS SET Ombrag = ombrage WHERE Ombrag IS NULL")) &&
        sql(QStringLiteral("ALTER TABLE QUALITOMETRES_POINTS_OPERATIONS DROP COLUMN ombrage")) &&
        transaction.valider())
        etat().oublierColonne(OPERATIONS, QStringLiteral("ombrage"));
}

void MiseAJour::migrerParametrageData()
{
    ajouterColonneRemplie(QStringLiteral("PARAMETRAGE_DATA"), QStringLiteral("version"),
                          QStringLiteral("update PARAMETRAGE_DATA set version=1"));
}

// A column that a migration adds with its values: both in one transaction; when either fails the
// column is forgotten and the next upgrade tries again.
void MiseAJour::ajouterColonneRemplie(const QString &table, const QString &colonne,
                                      const QString &remplissage)
{
    if (!etat().tableExiste(table) || etat().colonneExiste(table, colonne)) return;
    Transaction transaction(base());
    if (ajouterColonne(table, *definitionTable(table)->colonne(colonne)) && sql(remplissage) &&
        transaction.valider())
        return;
    etat().oublierColonne(table, colonne);
    noterInacheve(QStringLiteral("la colonne ") + colonne + QStringLiteral(" de ") + table +
                  QStringLiteral(" n'a pas pu être remplie"));
}

// ---- per-station tables

void MiseAJour::etapeTablesStations()
{
    message(QStringLiteral("Mise à jour des tables d'analyses des stations"));
    elargirFractions();
    ajouterProfondeursAnalyses();
    indexerTablesAnalyses();
    if (annule()) return;
    // Taxa lists: the counting columns added after their first layout, and on a server the
    // floating columns of every station table widened from real.
    static const QRegularExpression liste(QStringLiteral("^qualitometres_liste_\\d+$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const bool serveur = base().typeBase() == POSTGRESQL;
    QStringList tables;
    for (const QString &t : etat().tables())
        if (liste.match(t).hasMatch()) tables << t;
    for (const QString &code : codesBSS())
        tables << PREFIXE_ANALYSES + code;
    for (const QString &table : tables) {
        if (!etat().tableExiste(table) || annule()) continue;
        const bool estListe = liste.match(table).hasMatch();
        const DefinitionTable &def = estListe ? definitionListeTaxons() : definitionAnalyses();
        const QString nomSql = identifiantSql(table);
        for (const DefinitionColonne &c : def.colonnes) {
            const QString colonne = QLatin1String(c.nom);
            if (estListe && !etat().colonneExiste(table, colonne)) {
                if (sql(sqlAjoutColonne(nomSql, c))) etat().noterColonne(table, colonne);
            } else if (serveur && c.type == TypeNeutre::Reel &&
                       etat().typeColonne(table, colonne) == u"real" &&
                       sql(QStringLiteral("ALTER TABLE ") + nomSql + QStringLiteral(" ALTER ") +
                           colonne + QStringLiteral(" Double")))
                etat().noterColonne(table, colonne, QStringLiteral("double precision"));
        }
    }
}

// CodeFraction and CodeSupport widened to five characters in every analysis table, once.
void MiseAJour::elargirFractions()
{
    if (!etat().tableExiste(QStringLiteral("PARAMETRES")) || marqueurPresent({}, MARQUEUR_FRACTION))
        return;
    const QStringList &codes = codesBSS();
    for (int i = 0; i < codes.size(); ++i) {
        progression().position(i, codes.size());
        if (annule()) return;
        const QString table = identifiantTable(PREFIXE_ANALYSES, codes[i]);
        // A station without its table (never given results) has nothing to widen.
        if (table.isEmpty() || !etat().tableExiste(PREFIXE_ANALYSES + codes[i])) continue;
        sql(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ALTER CodeFraction TEXT(5)"));
        sql(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ALTER CodeSupport TEXT(5)"));
    }
    ecrireMarqueur(QStringLiteral("VYK"), MARQUEUR_FRACTION, true);
}

void MiseAJour::ajouterProfondeursAnalyses()
{
    if (!etat().tableExiste(QStringLiteral("PARAMETRES")) ||
        marqueurPresent({}, MARQUEUR_PROFONDEURS))
        return;
    const QStringList &codes = codesBSS();
    for (int i = 0; i < codes.size(); ++i) {
        progression().position(i, codes.size());
        if (annule()) return;
        const QString brut = PREFIXE_ANALYSES + codes[i];
        const QString table = identifiantTable(PREFIXE_ANALYSES, codes[i]);
        if (table.isEmpty() || !etat().tableExiste(brut)) continue;
        for (const char *colonne : {"profDebut", "profFin"})
            if (!etat().colonneExiste(brut, QLatin1String(colonne)) &&
                sql(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD ") +
                    QLatin1String(colonne) + QStringLiteral(" Double")))
                etat().noterColonne(brut, QLatin1String(colonne));
    }
    ecrireMarqueur(QStringLiteral("VYK"), MARQUEUR_PROFONDEURS, false);
}

// The index of every analysis table, once: later tables get theirs when they are created.
void MiseAJour::indexerTablesAnalyses()
{
    if (!etat().tableExiste(QStringLiteral("PARAMETRES")) ||
        marqueurPresent(MODULE_INDEX_QUALITO, {}))
        return;
    message(QStringLiteral("Création des index de données"));
    const QStringList &codes = codesBSS();
    for (int i = 0; i < codes.size(); ++i) {
        progression().position(i, codes.size());
        if (annule()) return;
        const QString table = PREFIXE_ANALYSES + codes[i];
        const QString index = PREFIXE_INDEX_ANALYSES + codes[i];
        if (!etat().tableExiste(table) || etat().indexExiste(index)) continue;
        if (sql(sqlIndexTableAnalyses(codes[i]))) etat().noterIndex(index, table);
    }
    ecrireMarqueur(MODULE_INDEX_QUALITO, QStringLiteral("1"), false);
}

} // namespace vyk
