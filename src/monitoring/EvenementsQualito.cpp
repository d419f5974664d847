#include "monitoring/EvenementsQualito.h"

#include "app/Csv.h"
#include "classeur/Classeur.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "users/AccesStations.h"
#include "users/Habilitations.h"

#include <QSaveFile>
#include <QSet>

namespace vyk {

const QString EvenementsQualito::MESSAGE_AUCUNE_STATION =
    QStringLiteral("Sélectionnez au moins un qualitomètre.");
const QString EvenementsQualito::MESSAGE_DATE_DEBUT =
    QStringLiteral("La date de début n'est pas au format jj/mm/aaaa.");
const QString EvenementsQualito::MESSAGE_DATE_FIN =
    QStringLiteral("La date de fin n'est pas au format jj/mm/aaaa.");
const QString EvenementsQualito::MESSAGE_PERIODE =
    QStringLiteral("La date de fin est antérieure à la date de début.");
const QString EvenementsQualito::MESSAGE_RIEN_A_EXPORTER =
    QStringLiteral("Aucun événement à exporter.");
const QString EvenementsQualito::MESSAGE_EXPORT_TERMINE = QStringLiteral("Export terminé : %1");
const QString EvenementsQualito::TOUS_LES_CONTACTS = QStringLiteral("Tous les éléments [*]");
const QString EvenementsQualito::MESSAGE_DROIT = QStringLiteral(
    "Vous ne disposez pas de droits suffisants pour consulter les événements des qualitomètres.");
const QString EvenementsQualito::NOM_EXPORT = QStringLiteral("Liste_des_interventions");

namespace {

// Stations per query: one query fills the grid for any usual choice.
constexpr int STATIONS_PAR_REQUETE = 500;

enum Colonne
{
    Identifiant,
    Station,
    Commune,
    Date,
    Heure,
    Tournee,
    Probleme,
    Solution,
    NS,
    NC,
    Calage,
    Piles,
    Volt,
    RAZ,
    Commentaires,
    Graphique,
    ExportBanque,
    TempCentrale,
    TempSonde,
    Referent
};

QString oui(const QVariant &v)
{
    const QString t = texteValeur(v);
    return t == u"1" ? QStringLiteral("Oui") : t == u"0" ? QStringLiteral("Non") : t;
}

// The label of a contact: its name, else its company name, else its commune.
QString libelleContact()
{
    return QStringLiteral("iif(Contacts.Nom is null, iif(contacts.raisonSocial is null, "
                          "Communes.nom, contacts.raisonsocial), "
                          "contacts.nom)");
}

} // namespace

const QStringList &EvenementsQualito::titresColonnes()
{
    static const QStringList titres = {QStringLiteral("Identifiant"),
                                       QStringLiteral("Station"),
                                       QStringLiteral("Commune"),
                                       QStringLiteral("Date"),
                                       QStringLiteral("Heure"),
                                       QStringLiteral("Tournée"),
                                       QStringLiteral("Problème"),
                                       QStringLiteral("Solution"),
                                       QStringLiteral("NS"),
                                       QStringLiteral("NC"),
                                       QStringLiteral("Calage"),
                                       QStringLiteral("Piles"),
                                       QStringLiteral("Volt"),
                                       QStringLiteral("RAZ"),
                                       QStringLiteral("Commentaires"),
                                       QStringLiteral("Graphique"),
                                       QStringLiteral("Export Banque"),
                                       QStringLiteral("Temp centrale"),
                                       QStringLiteral("Temp sonde"),
                                       QStringLiteral("Référent")};
    return titres;
}

QString EvenementsQualito::verifier(const CriteresEvenements &criteres)
{
    if (!estAutorise()) return MESSAGE_DROIT;
    if (criteres.stations.isEmpty()) return MESSAGE_AUCUNE_STATION;
    const QDateTime debut = lireDate(criteres.dateDebut.trimmed());
    const QDateTime fin = lireDate(criteres.dateFin.trimmed());
    if (!criteres.dateDebut.trimmed().isEmpty() && !debut.isValid()) return MESSAGE_DATE_DEBUT;
    if (!criteres.dateFin.trimmed().isEmpty() && !fin.isValid()) return MESSAGE_DATE_FIN;
    if (debut.isValid() && fin.isValid() && fin < debut) return MESSAGE_PERIODE;
    return {};
}

QString EvenementsQualito::requete(const CriteresEvenements &criteres, const QStringList &stations,
                                   bool avecNC)
{
    QString sql =
        QStringLiteral("SELECT codeBSS, QUALITOMETRES.nom, COMMUNES.nom, DateEvenement, "
                       "heureevenement, type, probleme, "
                       "solution, NS, ") +
        (avecNC ? QStringLiteral("NC") : QStringLiteral("NULL AS NC")) +
        QStringLiteral(
            ", valeurcalee, ChgtPiles, Volt, razstation, EVENEMENTS_QUALITO.Commentaires, "
            "graphique, exportbanque, "
            "temperaturecentrale, temperatureSonde, contacts.nom  FROM ((EVENEMENTS_QUALITO LEFT "
            "JOIN CONTACTS ON "
            "EVENEMENTS_QUALITO.codeContact=CONTACTS.codeContact) LEFT JOIN QUALITOMETRES ON "
            "EVENEMENTS_QUALITO.codeQualitometre=QUALITOMETRES.codeQualitometre) LEFT JOIN "
            "COMMUNES ON ") +
        conditionCodeCommune(QStringLiteral("QUALITOMETRES.codeCommune"),
                             QStringLiteral("COMMUNES.codeCommune"));
    QStringList codes;
    QString ordre = QStringLiteral("CASE EVENEMENTS_QUALITO.codeQualitometre");
    for (int i = 0; i < stations.size(); ++i) {
        const QString code = sqlNombre(enNombre(stations[i]).valeur);
        codes << code;
        ordre += QStringLiteral(" WHEN ") + code + QStringLiteral(" THEN ") + QString::number(i);
    }
    ordre += QStringLiteral(" END");
    sql += QStringLiteral(" WHERE EVENEMENTS_QUALITO.codeQualitometre IN (") +
           codes.join(QStringLiteral(", ")) + u')';
    if (!criteres.dateDebut.trimmed().isEmpty())
        sql += QStringLiteral(" AND DateEvenement>=") + dateSQL(criteres.dateDebut.trimmed());
    if (!criteres.dateFin.trimmed().isEmpty())
        sql += QStringLiteral(" AND DateEvenement<=") + dateSQL(criteres.dateFin.trimmed());
    QStringList tournees;
    if (criteres.tourneeGestion) tournees << QStringLiteral("type='G' ");
    if (criteres.tourneeMaintenance) tournees << QStringLiteral("type='M' ");
    if (criteres.tourneeAutre) tournees << QStringLiteral("type is null ");
    if (!tournees.isEmpty())
        sql += QStringLiteral(" AND (") + tournees.join(QStringLiteral(" or ")) + u')';
    if (criteres.graphiqueSeulement) sql += QStringLiteral(" AND graphique='1' ");
    if (criteres.exportBanqueSeulement) sql += QStringLiteral(" AND exportbanque='1' ");
    if (!criteres.contact.trimmed().isEmpty())
        sql += QStringLiteral(" AND EVENEMENTS_QUALITO.codeContact=") +
               sqlNombre(enNombre(criteres.contact).valeur);
    return sql + QStringLiteral(" ORDER BY ") +
           (stations.size() > 1 ? ordre + QStringLiteral(", ") : QString()) +
           QStringLiteral("DateEvenement DESC");
}

Tableau EvenementsQualito::charger(const CriteresEvenements &criteres, Progression &progression)
{
    m_echecs.clear();
    Tableau resultat;
    // The screen checked the right (verifier); a caller that did not gets nothing.
    if (!estAutorise()) return resultat;
    // A restricted user reads only the events of the stations of their list.
    QSet<QString> permises;
    const bool restreint = session().estConnecte() && estAccesRestreint();
    if (restreint)
        for (const StationEvenements &s : stations())
            permises.insert(s.code);
    QStringList stations;
    for (const QString &s : criteres.stations)
        if (enNombre(s).estNombre() && (!restreint || permises.contains(s.trimmed())))
            stations << s.trimmed();
    // Older databases have an NC column; the current layout does not.
    const bool avecNC =
        bd().colonneExiste(QStringLiteral("EVENEMENTS_QUALITO"), QStringLiteral("NC"));
    progression.message(QStringLiteral("Chargement des événements"));
    for (int debut = 0; debut < stations.size(); debut += STATIONS_PAR_REQUETE) {
        progression.position(debut, stations.size());
        if (progression.annule()) break;
        const QStringList lot = stations.mid(debut, STATIONS_PAR_REQUETE);
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(requete(criteres, lot, avecNC), nb, t)) {
            m_echecs << lot;
            journaliserErreur(QStringLiteral("Chargement des événements"), bd().derniereErreur());
            continue;
        }
        if (resultat.nbColonnes() == 0) resultat.definirColonnes(t.colonnes());
        for (int l = 0; l < t.nbLignes(); ++l) {
            QVector<QVariant> ligne;
            ligne.reserve(t.nbColonnes());
            for (int c = 0; c < t.nbColonnes(); ++c)
                ligne << t(l, c);
            resultat.ajouterLigne(ligne);
        }
    }
    progression.position(stations.size(), stations.size());
    return resultat;
}

QStringList EvenementsQualito::texteLigne(const Tableau &t, int ligne)
{
    QStringList textes;
    for (int c = 0; c < t.nbColonnes(); ++c) {
        const QVariant &v = t(ligne, c);
        switch (c) {
        case Date:
            textes << (v.isNull() ? QString()
                                  : v.toDateTime().toString(QStringLiteral("dd/MM/yyyy")));
            break;
        case Heure:
            textes << (v.isNull() ? QString() : v.toDateTime().toString(QStringLiteral("HH:mm")));
            break;
        case Tournee: {
            const QString type = texteValeur(v);
            textes << (type == u"G"   ? QStringLiteral("Gestion")
                       : type == u"M" ? QStringLiteral("Maintenance")
                                      : type);
            break;
        }
        case Piles:
        case RAZ:
        case Graphique:
        case ExportBanque:
            textes << oui(v);
            break;
        default:
            textes << texteValeur(v);
        }
    }
    return textes;
}

bool EvenementsQualito::estAutorise()
{
    return !session().estConnecte() || estHabilite(droit::QUALITO_JOURNAUX);
}

QVector<StationEvenements> EvenementsQualito::stations()
{
    QVector<StationEvenements> r;
    // The same stations as the station list: a restricted user sees only theirs.
    const QString acces =
        session().estConnecte()
            ? conditionAccesStations(QStringLiteral("QUALITOMETRES.CodeQualitometre"))
            : QString();
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES "
                                     "WHERE CodeQualitometre IS NOT NULL") +
                      (acces.isEmpty() ? QString() : QStringLiteral(" AND ") + acces) +
                      QStringLiteral(" ORDER BY CodeBSS, Nom"));
    for (int l = 0; l < t.nbLignes(); ++l)
        r.append({t.texte(l, QStringLiteral("CodeQualitometre")),
                  t.texte(l, QStringLiteral("CodeBSS")), t.texte(l, QStringLiteral("Nom"))});
    return r;
}

QVector<ChoixListe> EvenementsQualito::contacts()
{
    QVector<ChoixListe> r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT ") + libelleContact() +
        QStringLiteral(
            " AS libelle, Contacts.CodeContact AS code FROM Contacts LEFT JOIN Communes  ON ") +
        conditionCodeCommune(QStringLiteral("Contacts.CodeCommune"),
                             QStringLiteral("Communes.CodeCommune")) +
        QStringLiteral("  WHERE Contacts.CodeContact in (SELECT distinct codeContact "
                       "from evenements_qualito) ORDER BY ") +
        libelleContact());
    for (int l = 0; l < t.nbLignes(); ++l)
        r.append({t.texte(l, QStringLiteral("libelle")), t.texte(l, QStringLiteral("code"))});
    return r;
}

bool EvenementsQualito::exporter(const QStringList &titres, const QVector<QStringList> &lignes,
                                 const QString &chemin, QString *erreur)
{
    return exporterGrilleFichier(chemin, NOM_EXPORT, titres, lignes, erreur);
}

} // namespace vyk
