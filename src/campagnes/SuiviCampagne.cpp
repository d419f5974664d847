#include "campagnes/SuiviCampagne.h"

#include "db/BaseDonnees.h"
#include "db/Ligne.h"
#include "db/Sql.h"
#include "schema/TableAnalyses.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace vyk {

namespace {

const QString FORMAT_MOIS = QStringLiteral("MM/yy");

// What every view shares: the period, its months, the stations and where their cells go.
struct Calcul
{
    const Campagne &campagne;
    QDate debut, fin;
    QVector<QDate> mois;
    QStringList codes;                            // distinct station codes, as SQL numbers
    QHash<QString, QVector<int>> lignesDeStation; // a station may be listed twice
    TableSuivi table;

    // The month's offset from the first month (negative before it).
    int indexMois(const QDate &jour) const
    {
        return (jour.year() - debut.year()) * 12 + jour.month() - debut.month();
    }
    int colonneMois(const QDate &jour) const
    {
        const int i = indexMois(jour);
        return i >= 0 && i < mois.size() ? table.premiereColonneDonnees + i : -1;
    }
    void poser(const QString &station, int colonne, const QString &texte, EtatCellule etat)
    {
        poser(lignesDeStation.value(station), colonne, texte, etat);
    }
    void poser(const QVector<int> &lignes, int colonne, const QString &texte, EtatCellule etat)
    {
        for (int l : lignes) {
            table.lignes[l][colonne] = texte;
            table.etats[l][colonne] = etat;
        }
    }
    QString listeStations() const { return codes.join(u','); }
    // The samples of the period, and of the issuer when the campaign has one.
    QString conditionPrelevements() const
    {
        QString c = QStringLiteral(" AND P.DateDebut>=") + dateSQL(debut.startOfDay()) +
                    QStringLiteral(" AND P.DateDebut<") + dateSQL(fin.addDays(1).startOfDay());
        const QString emetteur = campagne.fiche.codeIntervenant.trimmed();
        if (!emetteur.isEmpty()) {
            bool estNombre = false;
            const double n = emetteur.toDouble(&estNombre);
            // The producer column holds numbers: an issuer code that is not one matches nothing.
            c += estNombre ? QStringLiteral(" AND P.CodeProducteurPrincipal=") + sqlNombre(n)
                           : QStringLiteral(" AND 1=0");
        }
        return c;
    }
};

// The station's code as text, the same for an integer, a real or a numeric text. Codes are
// whole numbers in practice: those skip the costly shortest-double formatting.
QString cleStation(double d)
{
    if (d == std::trunc(d) && std::abs(d) < 1e15 && !(d == 0 && std::signbit(d)))
        return QString::number(static_cast<qint64>(d));
    return QString::number(d, 'g', 15);
}

QString cleStation(const QVariant &v)
{
    return cleStation(v.toDouble());
}

QDate jourDe(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    return dateCampagne(texteValeur(v).left(10));
}

QDate jourDe(const Tableau &t, int ligne, const QString &colonne)
{
    return jourDe(t.valeur(ligne, colonne));
}

QString stationDe(const Tableau &t, int ligne)
{
    return cleStation(t.valeur(ligne, QStringLiteral("station")));
}

void preparerTable(Calcul &c, VueSuivi vue)
{
    TableSuivi &t = c.table;
    const bool interventions = vue == VueSuivi::Interventions;
    t.titres = {QStringLiteral("codeSite"), QStringLiteral("Identifiant"),
                QStringLiteral("Station"), QStringLiteral("Dernier Passage"),
                QStringLiteral("Interventions")};
    t.largeurs = {8, 14, 30, interventions ? 13 : 0, interventions ? 12 : 0};
    t.premiereColonneDonnees = COLONNES_FIXES_SUIVI;
    if (vue == VueSuivi::Analyses) {
        for (const ParametreCampagne &p : c.campagne.parametres) {
            const QString unite = p.codeUnite.trimmed();
            t.titres << p.codeParametre.trimmed() +
                            (unite.isEmpty() ? QString() : QStringLiteral(" (") + unite + u')');
            t.largeurs << 6;
        }
    } else {
        for (const QDate &m : c.mois) {
            t.titres << m.toString(FORMAT_MOIS);
            t.largeurs << (vue == VueSuivi::Demandes ? 12 : 6);
        }
    }
    // Every row starts as the same cells: built once, shared by the rows until written.
    QStringList vierge(t.titres.size(),
                       vue == VueSuivi::Analyses ? QStringLiteral("0") : QString());
    vierge[3] = QString();
    vierge[4] = interventions ? QStringLiteral("0") : QString();
    const QVector<EtatCellule> etats(
        t.titres.size(), vue == VueSuivi::Analyses ? EtatCellule::Manquant : EtatCellule::Neutre);
    const qsizetype n = c.campagne.stations.size();
    t.lignes.reserve(n);
    t.etats.reserve(n);
    t.toursPrevus.reserve(n);
    for (const StationCampagne &s : c.campagne.stations) {
        const QString code = cleStation(s.codeSite);
        QVector<int> &lignes = c.lignesDeStation[code];
        if (lignes.isEmpty()) c.codes << code;
        lignes.append(int(t.lignes.size()));
        QStringList ligne = vierge;
        ligne[0] = code;
        ligne[1] = s.identifiant();
        ligne[2] = s.nom;
        t.lignes << ligne;
        t.etats << etats;
        t.toursPrevus << 0;
    }
}

// The analysis tables of the campaign's stations that exist.
QVector<TableAnalysesStation> tablesDesStations(const Calcul &c)
{
    QVector<TableAnalysesStation> tables;
    for (const TableAnalysesStation &t : tablesAnalysesStations())
        if (c.lignesDeStation.contains(cleStation(t.codeQualitometre))) tables << t;
    return tables;
}

// Per station: SELECT station, ... FROM its table A joined to its samples P of the period.
QString selectAnalyses(const QString &table, const QHash<QString, QString> &stationDeTable,
                       const QString &colonnes, const QString &suite, const Calcul &c)
{
    const QString station = stationDeTable.value(table);
    return QStringLiteral("SELECT ") + station + QStringLiteral(" AS station, ") + colonnes +
           QStringLiteral(" FROM ") + table +
           QStringLiteral(" A INNER JOIN PRELEVEMENTS P ON A.NumPrelevement=P.NumPrelevement "
                          "WHERE P.CodeQualitometre=") +
           station + c.conditionPrelevements() + suite;
}

bool parcourirStations(const Calcul &c, const QString &colonnes, const QString &suite,
                       const std::function<void(const Tableau &, int)> &chaqueLigne)
{
    const QVector<TableAnalysesStation> tables = tablesDesStations(c);
    QHash<QString, QString> stationDeTable;
    for (const TableAnalysesStation &t : tables)
        stationDeTable.insert(t.table, sqlNombre(t.codeQualitometre));
    return parcourirAnalyses(
        tables,
        [&](const QString &table) {
            return selectAnalyses(table, stationDeTable, colonnes, suite, c);
        },
        [&](const Tableau &t, int l) {
            chaqueLigne(t, l);
            return true;
        },
        false);
}

bool suiviAnalyses(Calcul &c)
{
    QHash<QString, QHash<QString, long long>> nombres; // station -> "param|unit" -> count
    const bool ok = parcourirStations(
        c, QStringLiteral("A.CodeParametre AS parametre, A.CodeUnite AS unite, count(*) AS nb"),
        QStringLiteral(" GROUP BY A.CodeParametre, A.CodeUnite"), [&](const Tableau &t, int l) {
            nombres[stationDe(t, l)][t.texte(l, QStringLiteral("parametre")).trimmed() + u'|' +
                                     t.texte(l, QStringLiteral("unite")).trimmed()] +=
                t.valeur(l, QStringLiteral("nb")).toLongLong();
        });
    if (!ok) return false;
    for (auto station = nombres.cbegin(); station != nombres.cend(); ++station) {
        for (int i = 0; i < c.campagne.parametres.size(); ++i) {
            const ParametreCampagne &p = c.campagne.parametres[i];
            const QString parametre = p.codeParametre.trimmed(), unite = p.codeUnite.trimmed();
            long long n = 0;
            // A wanted parameter without unit counts the analyses of every unit.
            for (auto it = station->cbegin(); it != station->cend(); ++it)
                if (it.key().section(u'|', 0, 0) == parametre &&
                    (unite.isEmpty() || it.key().section(u'|', 1) == unite))
                    n += it.value();
            c.poser(station.key(), c.table.premiereColonneDonnees + i, QString::number(n),
                    n > 0 ? EtatCellule::Complet : EtatCellule::Manquant);
        }
    }
    return true;
}

bool suiviPrelevements(Calcul &c)
{
    QStringList voulus;
    for (const ParametreCampagne &p : c.campagne.parametres)
        if (!voulus.contains(sqlTexte(p.codeParametre.trimmed())))
            voulus << sqlTexte(p.codeParametre.trimmed());
    // Without wanted parameters, any sample with analyses counts.
    const QString filtre =
        voulus.isEmpty() ? QString()
                         : QStringLiteral(" AND A.CodeParametre IN (") + voulus.join(u',') + u')';
    struct Mois
    {
        int prelevements = 0;
        bool complet = false;
    };
    QHash<QString, QHash<int, Mois>> parStation;
    const bool ok = parcourirStations(
        c,
        QStringLiteral("P.NumPrelevement AS num, P.DateDebut AS jour, "
                       "count(DISTINCT A.CodeParametre) AS nb"),
        filtre + QStringLiteral(" GROUP BY P.NumPrelevement, P.DateDebut"),
        [&](const Tableau &t, int l) {
            const int colonne = c.colonneMois(jourDe(t, l, QStringLiteral("jour")));
            if (colonne < 0) return;
            Mois &m = parStation[stationDe(t, l)][colonne];
            ++m.prelevements;
            m.complet = m.complet || voulus.isEmpty() ||
                        t.valeur(l, QStringLiteral("nb")).toLongLong() >= voulus.size();
        });
    if (!ok) return false;
    for (auto s = parStation.cbegin(); s != parStation.cend(); ++s)
        for (auto m = s->cbegin(); m != s->cend(); ++m)
            c.poser(s.key(), m.key(), QString::number(m->prelevements),
                    m->complet ? EtatCellule::Complet : EtatCellule::Partiel);
    return true;
}

bool suiviDemandes(Calcul &c)
{
    // Labels are numbered as they come; a cell keeps their numbers, joined once at the end.
    using Cellule = QVarLengthArray<int, 2>;
    QHash<QString, int> numeros;
    QStringList textes;
    QHash<QString, QVector<Cellule>> parStation; // a cell per month
    int cStation = 0, cDebut = 0, cFin = 0, cLibelle = 0;
    // One row per station of each request of the period, in the order the labels are listed.
    const auto ligne = [&](const Ligne &l) {
        if (l.premiere()) {
            cStation = l.colonne(u"station");
            cDebut = l.colonne(u"debut");
            cFin = l.colonne(u"fin");
            cLibelle = l.colonne(u"libelle");
        }
        // In force in a month when it starts before the next month and ends in it or later.
        const int premier = std::max(0, c.indexMois(l.date(cDebut).date()));
        const int dernier = std::min(int(c.mois.size()) - 1, c.indexMois(l.date(cFin).date()));
        if (premier > dernier) return true;
        const QString libelle = l.texte(cLibelle);
        int numero = numeros.value(libelle, -1);
        if (numero < 0) {
            numero = int(textes.size());
            numeros.insert(libelle, numero);
            textes << libelle;
        }
        QVector<Cellule> &mois = parStation[cleStation(l.reel(cStation))];
        if (mois.isEmpty()) mois.resize(c.mois.size());
        for (int i = premier; i <= dernier; ++i)
            if (!mois[i].contains(numero)) mois[i].append(numero);
        return true;
    };
    if (!bd().parcourir(
            QStringLiteral("SELECT S.codeQualitometre AS station, D.dateDebutApplication AS "
                           "debut, D.dateFinApplication AS fin, D.libelle AS libelle FROM "
                           "QUALITOMETRES_DEMANDES D "
                           "INNER JOIN QUALITOMETRES_DEMANDES_SITES S ON "
                           "D.codeDemande=S.codeDemande WHERE D.dateDebutApplication<") +
                dateSQL(c.mois.last().addMonths(1).startOfDay()) +
                QStringLiteral(" AND D.dateFinApplication>=") +
                dateSQL(c.mois.first().startOfDay()) +
                QStringLiteral(" AND S.codeQualitometre IN (") + c.listeStations() +
                QStringLiteral(") ORDER BY D.dateDebutApplication ASC, D.codeDemande ASC"),
            ligne))
        return false;
    QStringList cellule;
    for (auto s = parStation.cbegin(); s != parStation.cend(); ++s) {
        const QVector<int> lignes = c.lignesDeStation.value(s.key());
        for (int i = 0; i < s->size(); ++i) {
            if (s->at(i).isEmpty()) continue;
            cellule.clear();
            for (int n : s->at(i))
                cellule << textes[n];
            c.poser(lignes, c.table.premiereColonneDonnees + i, cellule.join(QStringLiteral(", ")),
                    EtatCellule::Complet);
        }
    }
    return true;
}

EtatCellule etatInterventions(int faites, int prevues)
{
    if (prevues > 0 && faites >= prevues) return EtatCellule::Complet;
    if (faites > 0) return EtatCellule::Partiel;
    return prevues > 0 ? EtatCellule::Manquant : EtatCellule::Neutre;
}

void poserToursPrevus(Calcul &c, const QHash<QString, int> &faites)
{
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT CodeQualitometre AS station, nbTournees FROM "
                                     "QUALITOMETRES WHERE CodeQualitometre IN (") +
                      c.listeStations() + u')');
    QHash<QString, int> prevus;
    for (int l = 0; l < t.nbLignes(); ++l)
        prevus.insert(stationDe(t, l),
                      int(std::lround(t.valeur(l, QStringLiteral("nbTournees")).toDouble() *
                                      double(c.mois.size()) / 12.0)));
    for (auto s = c.lignesDeStation.cbegin(); s != c.lignesDeStation.cend(); ++s)
        for (int l : s.value()) {
            c.table.toursPrevus[l] = prevus.value(s.key());
            c.table.etats[l][4] = etatInterventions(faites.value(s.key()), c.table.toursPrevus[l]);
        }
}

bool suiviInterventions(Calcul &c, bool tourneeGestion)
{
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(
            QStringLiteral("SELECT CodeQualitometre AS station, DateEvenement AS jour, "
                           "count(DateEvenement) AS nb FROM EVENEMENTS_QUALITO WHERE "
                           "CodeQualitometre IN (") +
                c.listeStations() + QStringLiteral(") AND DateEvenement>=") +
                dateSQL(c.debut.startOfDay()) + QStringLiteral(" AND DateEvenement<") +
                dateSQL(c.fin.addDays(1).startOfDay()) +
                (tourneeGestion ? QStringLiteral(" AND type='G'") : QString()) +
                QStringLiteral(" GROUP BY CodeQualitometre, DateEvenement "
                               "ORDER BY CodeQualitometre, DateEvenement ASC"),
            nb, t))
        return false;
    struct Visites
    {
        QDate derniere;
        int total = 0;
        QHash<int, int> parMois; // column -> count of the month's latest visit date
    };
    QHash<QString, Visites> parStation;
    Visites *v = nullptr; // rows come by station: its key is made once
    int precedente = -1;
    const int cStation = t.indexColonne(QStringLiteral("station"));
    const int cJour = t.indexColonne(QStringLiteral("jour"));
    const int cNb = t.indexColonne(QStringLiteral("nb"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QDate jour = jourDe(t(l, cJour));
        const int colonne = c.colonneMois(jour);
        if (colonne < 0) continue;
        const QVariant &station = t(l, cStation);
        if (precedente < 0 || station != t(precedente, cStation))
            v = &parStation[cleStation(station)];
        precedente = l;
        const int n = int(t(l, cNb).toLongLong());
        // Rows come by date: the last one is the latest visit, and replaces its month's count.
        v->derniere = jour;
        v->total += n;
        v->parMois[colonne] = n;
    }
    QHash<QString, int> faites;
    for (auto s = parStation.cbegin(); s != parStation.cend(); ++s) {
        faites.insert(s.key(), s->total);
        c.poser(s.key(), 3, s->derniere.toString(QStringLiteral("dd/MM/yyyy")),
                EtatCellule::Neutre);
        c.poser(s.key(), 4, QString::number(s->total), EtatCellule::Neutre);
        for (auto m = s->parMois.cbegin(); m != s->parMois.cend(); ++m)
            c.poser(s.key(), m.key(), QString::number(m.value()), EtatCellule::Complet);
    }
    poserToursPrevus(c, faites);
    return true;
}

} // namespace

QString libelleVueSuivi(VueSuivi vue)
{
    switch (vue) {
    case VueSuivi::Analyses:
        return QStringLiteral("Suivi des analyses");
    case VueSuivi::Prelevements:
        return QStringLiteral("Suivi des prélèvements");
    case VueSuivi::Demandes:
        return QStringLiteral("Suivi des demandes Labo");
    case VueSuivi::Interventions:
        return QStringLiteral("Suivi des interventions");
    }
    return {};
}

QString nomVueSuivi(VueSuivi vue)
{
    switch (vue) {
    case VueSuivi::Analyses:
        return QStringLiteral("analyses");
    case VueSuivi::Prelevements:
        return QStringLiteral("prelevements");
    case VueSuivi::Demandes:
        return QStringLiteral("demandes");
    case VueSuivi::Interventions:
        return QStringLiteral("interventions");
    }
    return {};
}

bool vueSuiviDeNom(const QString &nom, VueSuivi &vue)
{
    for (VueSuivi v :
         {VueSuivi::Analyses, VueSuivi::Prelevements, VueSuivi::Demandes, VueSuivi::Interventions})
        if (nom.trimmed().compare(nomVueSuivi(v), Qt::CaseInsensitive) == 0) {
            vue = v;
            return true;
        }
    return false;
}

QVector<QDate> moisCampagne(const QDate &debut, const QDate &fin)
{
    QVector<QDate> mois;
    if (!debut.isValid() || !fin.isValid() || fin < debut) return mois;
    for (QDate m(debut.year(), debut.month(), 1); m <= fin; m = m.addMonths(1))
        mois << m;
    return mois;
}

QString verifierPeriodeSuivi(const FicheCampagne &fiche)
{
    const QDate debut = dateCampagne(fiche.dateDebut), fin = dateCampagne(fiche.dateFin);
    if (!debut.isValid() || !fin.isValid()) return texteSuivi::DATES_ABSENTES;
    if (fin < debut) return texteSuivi::FIN_AVANT_DEBUT;
    return {};
}

TableSuivi calculerSuivi(const Campagne &campagne, VueSuivi vue, bool tourneeGestionSeulement,
                         QString &erreur)
{
    erreur = verifierPeriodeSuivi(campagne.fiche);
    if (!erreur.isEmpty()) return {};
    Calcul c{campagne,
             dateCampagne(campagne.fiche.dateDebut),
             dateCampagne(campagne.fiche.dateFin),
             {},
             {},
             {},
             {}};
    c.mois = moisCampagne(c.debut, c.fin);
    preparerTable(c, vue);
    if (c.codes.isEmpty()) return c.table;
    bool ok = true;
    switch (vue) {
    case VueSuivi::Analyses:
        ok = suiviAnalyses(c);
        break;
    case VueSuivi::Prelevements:
        ok = suiviPrelevements(c);
        break;
    case VueSuivi::Demandes:
        ok = suiviDemandes(c);
        break;
    case VueSuivi::Interventions:
        ok = suiviInterventions(c, tourneeGestionSeulement);
        break;
    }
    if (!ok) {
        erreur = texteSuivi::ECHEC.arg(bd().derniereErreur());
        return {};
    }
    return c.table;
}

} // namespace vyk
