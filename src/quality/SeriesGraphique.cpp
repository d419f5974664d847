#include "quality/SeriesGraphique.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "quality/Seuils.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

namespace vyk {

namespace {

void signaler(QString *erreur, const QString &message)
{
    if (erreur) *erreur = message;
}

QString selectResultats(const QString &t, const StationCalcul &station, const QString &parametre,
                        const CriteresGraphique &c)
{
    QString sql = QStringLiteral("SELECT PRELEVEMENTS.DateDebut AS jour, PRELEVEMENTS.HeureDebut "
                                 "AS heure, ") +
                  t + QStringLiteral(".Resultat AS resultat, ") + t +
                  QStringLiteral(".CodeRemarque AS remarque, ") + t +
                  QStringLiteral(".CodeUnite AS unite, ") + t +
                  QStringLiteral(".NumPrelevement AS prelevement FROM ") + jointureAnalyses(t) +
                  QStringLiteral(" WHERE ") + t + QStringLiteral(".codeQualitometre=") +
                  QString::number(station.codeQualitometre) + QStringLiteral(" AND ") + t +
                  QStringLiteral(".CodeParametre=") + sqlTexte(parametre.trimmed());
    if (!c.unite.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + t + QStringLiteral(".CodeUnite=") +
               sqlTexte(c.unite.trimmed());
    // An analysis not done has no value to draw, whatever was stored with it.
    sql += QStringLiteral(" AND ") + t + QStringLiteral(".Resultat is not null AND (") + t +
           QStringLiteral(".CodeRemarque is null or ") + t +
           QStringLiteral(".CodeRemarque<>'0') AND PRELEVEMENTS.DateDebut is not null");
    if (c.debut.isValid())
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut >=") +
               dateSQL(c.debut.toString(QStringLiteral("dd/MM/yyyy")));
    if (c.fin.isValid())
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut <=") +
               dateSQL(c.fin.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 23:59:59"),
                       true);
    return sql + QStringLiteral(" ORDER BY ") + t + QStringLiteral(".CodeUnite, ") +
           QStringLiteral("PRELEVEMENTS.DateDebut, PRELEVEMENTS.HeureDebut, ") + t +
           QStringLiteral(".NumPrelevement, ") + t + QStringLiteral(".NumAnalyse");
}

// Columns of selectResultats, in its order.
enum Colonne
{
    JOUR,
    HEURE,
    RESULTAT,
    REMARQUE,
    UNITE,
    PRELEVEMENT
};

// The trimmed text of a cell, made again only when it differs from the previous row's: remarks
// and units repeat down a series, and equal texts then share one string.
class TexteRepete
{
  public:
    const QString &lire(const Ligne &l, int c)
    {
        const QByteArrayView octets = l.utf8(c).trimmed();
        if (!m_lu || octets != QByteArrayView(m_octets)) {
            m_lu = true;
            m_octets = octets.toByteArray();
            m_texte = QString::fromUtf8(octets);
        }
        return m_texte;
    }

  private:
    bool m_lu = false;
    QByteArray m_octets;
    QString m_texte;
};

// The sample's day at its start time, midnight when it has none. Read as parts, so that one
// local date is built per point (each costs a time-zone lookup).
QDateTime datePoint(const Ligne &l)
{
    QDate jour, jourDeLHeure; // a start time is stored on a day of its own
    QTime heureDuJour, heure(0, 0);
    l.jourHeure(JOUR, jour, heureDuJour);
    l.jourHeure(HEURE, jourDeLHeure, heure);
    return QDateTime(jour, heure);
}

PointGraphique point(const Ligne &l, const QString &remarque, TraceCensure trace)
{
    PointGraphique p;
    p.date = datePoint(l);
    p.valeur = l.reel(RESULTAT);
    p.remarque = remarque;
    p.prelevement = l.entier(PRELEVEMENT);
    p.censure = remarque == QLatin1String("2") || remarque == QLatin1String("10");
    p.valeurTracee = p.censure && trace == TraceCensure::DemiLimite ? p.valeur / 2 : p.valeur;
    return p;
}

// The label of a referential row, "" when it has none.
QString libelle(const QString &colonne, const QString &table, const QString &code)
{
    if (code.isEmpty()) return {};
    return texteValeur(bd().valeur(QStringLiteral("SELECT ") + colonne + QStringLiteral(" FROM ") +
                                   table + QStringLiteral(" WHERE code=") + sqlTexte(code)))
        .trimmed();
}

void nommer(SerieGraphique &s)
{
    s.nomParametre =
        libelle(QStringLiteral("Nom"), QStringLiteral("ANALYSES_PARAMETRES"), s.parametre);
    s.symbole = libelle(QStringLiteral("Symbole"), QStringLiteral("ANALYSES_UNITES"), s.unite);
    if (s.symbole.isEmpty()) s.symbole = s.unite;
}

} // namespace

bool seriesParametre(const StationCalcul &station, const QString &parametre,
                     const CriteresGraphique &criteres, QVector<SerieGraphique> &series,
                     QString *erreur)
{
    series.clear();
    QString raison;
    const QString t = tableAnalyses(station.codeBSS, &raison);
    if (t.isEmpty()) {
        signaler(erreur, raison);
        return false;
    }
    if (!station.tableVerifiee && !bd().tableExiste(PREFIXE_ANALYSES + station.codeBSS))
        return true; // no analysis yet: nothing to draw
    TexteRepete remarques, unites;
    // Every point is kept anyway: a server may send them all in one result.
    const bool lu =
        bd().parcourirEnBloc(selectResultats(t, station, parametre, criteres), [&](const Ligne &l) {
            const QString &unite = unites.lire(l, UNITE);
            if (series.isEmpty() || series.last().unite != unite) {
                SerieGraphique s;
                s.codeBSS = station.codeBSS;
                s.parametre = parametre.trimmed();
                s.unite = unite;
                series << s;
            }
            series.last().points << point(l, remarques.lire(l, REMARQUE), criteres.trace);
            return true;
        });
    if (!lu) {
        series.clear();
        signaler(erreur, QStringLiteral("Lecture des résultats du qualitomètre %1 impossible : %2")
                             .arg(station.codeBSS, bd().derniereErreur()));
        return false;
    }
    for (SerieGraphique &s : series)
        nommer(s);
    return true;
}

bool seriesStations(const QVector<StationCalcul> &stations, const QString &parametre,
                    const CriteresGraphique &criteres, QVector<SerieGraphique> &series,
                    QString *erreur)
{
    series.clear();
    for (const StationCalcul &station : stations) {
        QVector<SerieGraphique> uneStation;
        if (!seriesParametre(station, parametre, criteres, uneStation, erreur)) {
            series.clear(); // half a superposition would pass for the whole
            return false;
        }
        series << uneStation;
    }
    return true;
}

bool axesParametres(const StationCalcul &station, const QStringList &parametres,
                    const CriteresGraphique &criteres, QVector<AxeGraphique> &axes, QString *erreur)
{
    axes.clear();
    for (const QString &parametre : parametres) {
        QVector<SerieGraphique> series;
        if (!seriesParametre(station, parametre, criteres, series, erreur)) {
            axes.clear();
            return false;
        }
        for (const SerieGraphique &s : series) {
            auto axe = std::find_if(axes.begin(), axes.end(),
                                    [&](const AxeGraphique &a) { return a.unite == s.unite; });
            if (axe == axes.end()) {
                axes << AxeGraphique{s.unite, s.symbole, {}};
                axe = axes.end() - 1;
            }
            axe->series << s;
        }
    }
    if (axes.size() > 2) {
        QStringList symboles;
        for (const AxeGraphique &a : axes)
            symboles << a.symbole;
        signaler(erreur, QStringLiteral("Les paramètres choisis sont exprimés en %1 unités (%2) : "
                                        "un graphique n'a que deux axes.")
                             .arg(axes.size())
                             .arg(symboles.join(QStringLiteral(", "))));
        axes.clear();
        return false;
    }
    return true;
}

bool bandesSeuils(const QString &seuil, const QString &parametre, const QString &unite,
                  QVector<BandeSeuil> &bandes, QString *erreur)
{
    bandes.clear();
    if (!enNombre(seuil).estNombre()) {
        signaler(erreur, QStringLiteral("Le type de seuil « %1 » n'est pas un numéro.").arg(seuil));
        return false;
    }
    const std::optional<SeuilsCharges> charges =
        chargerSeuils(seuil.trimmed(), QStringLiteral("0"), parametre.trimmed(), unite.trimmed());
    if (!charges || charges->bornes.isEmpty()) {
        signaler(erreur, QStringLiteral("Le seuil %1 n'a aucune borne pour le paramètre %2 (unité "
                                        "%3).")
                             .arg(seuil.trimmed(), parametre.trimmed(), unite.trimmed()));
        return false;
    }
    if (charges->incoherent || !bornesMonotones(charges->bornes)) {
        signaler(erreur, QStringLiteral("Les bornes du seuil %1 pour le paramètre %2 ne sont pas "
                                        "ordonnées.")
                             .arg(seuil.trimmed(), parametre.trimmed()));
        return false;
    }
    const QVector<double> &b = charges->bornes;
    const bool decroissant = bornesDecroissantes(b);
    const double infini = std::numeric_limits<double>::infinity();
    for (int k = 0; k <= b.size(); ++k) {
        BandeSeuil bande;
        bande.classe = k + 1;
        bande.legende = charges->legendes.value(k);
        // Increasing bounds: class k + 1 is (t(k), t(k + 1)]; decreasing: (t(k + 1), t(k)].
        const double avant = k == 0 ? (decroissant ? infini : -infini) : b[k - 1];
        const double apres = k == b.size() ? (decroissant ? -infini : infini) : b[k];
        bande.bas = decroissant ? apres : avant;
        bande.haut = decroissant ? avant : apres;
        bandes << bande;
    }
    return true;
}

} // namespace vyk
