#include "import/PointsEauXml.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/Session.h"
#include "import/EcritureSandre.h"
#include "import/EnTeteLabo.h"
#include "import/LectureSandre.h"
#include "monitoring/Qualitometre.h"

#include <QDateTime>

namespace vyk {

namespace {

enum Colonne
{
    Code,
    Nom,
    Altitude,
    Adresse,
    X,
    Y,
    Projection,
    Commentaire,
    Nature,
    Commune,
    MasseEau,
    NbColonnes
};

QStringList lirePoint(const NoeudXml &p)
{
    return {p.valeur({u"CdNationalPointEau"}),
            p.valeur({u"LbPointEau"}),
            p.valeur({u"AltitudePointEau"}),
            p.valeur({u"AdPointEau"}),
            p.valeur({u"CoordPointEau", u"CoordXPointEau"}),
            p.valeur({u"CoordPointEau", u"CoordYPointEau"}),
            p.valeur({u"CoordPointEau", u"ProjCoordPointEau"}),
            p.valeur({u"ComPointEau"}),
            p.valeur({u"NaturePointEau", u"CdNaturePointEau"}),
            p.valeur({u"Commune", u"CdCommune"}),
            p.valeur({u"PeriodeAppPteMdo", u"MasseDEau", u"CdMasseDEau"})};
}

// The station's values the row gives; empty cells leave the stored ones.
ValeursLigne valeursPoint(const QStringList &l, const QString &designation,
                          QStringList &avertissements)
{
    ValeursLigne v(QStringLiteral("QUALITOMETRES"));
    const QStringList &noms = colonnesPointsEau();
    const auto texte = [&](const char *colonne, int c) {
        if (!l[c].isEmpty()) v.texte(colonne, l[c], noms[c]);
    };
    const auto nombre = [&](const char *colonne, int c) {
        if (!l[c].isEmpty()) v.nombre(colonne, l[c], noms[c]);
    };
    if (!designation.isEmpty()) v.valeur("Designation", designation.left(6));
    texte("Nom", Nom);
    nombre("Altitude", Altitude);
    texte("adresse", Adresse);
    nombre("X", X);
    nombre("Y", Y);
    nombre("TypeProjection", Projection);
    texte("Commentaires", Commentaire);
    nombre("CodeNature", Nature);
    // The station's commune is a number in the schema: "2A004" is kept out, not turned into
    // another commune.
    if (estNombre(l[Commune]))
        nombre("CodeCommune", Commune);
    else if (!l[Commune].isEmpty())
        avertissements.append(QStringLiteral("Station %1 : la commune « %2 » n'est pas reprise, le "
                                             "code commune d'une station est numérique.")
                                  .arg(l[Code], l[Commune]));
    const QString login = session().login;
    v.valeur("loginmaj", login.isEmpty() ? QVariant() : QVariant(login));
    v.valeur("datemaj", QDateTime::currentDateTime());
    return v;
}

bool integrerPoint(bool remplacer, const QStringList &l, QStringList &avertissements,
                   QString &erreur)
{
    const CodeDesignation cd = separerCodeDesignation(l[Code]);
    if (cd.code.isEmpty()) {
        erreur = QStringLiteral("le point d'eau n'a pas de code");
        return false;
    }
    Transaction t;
    bd().verrouiller(QStringLiteral("QUALITOMETRES"));
    qint64 id = -1;
    if (const auto stockee = trouverQualitometreParCode(cd.code)) {
        id = stockee->code;
        if (remplacer && !purgerDonneesStation(id, cd.code, erreur)) return false;
    } else {
        id = creerStationSandre(cd.code, cd.designation, {}, TYPE_STATION_EAU_SOUTERRAINE, erreur);
        if (id < 0) return false;
    }
    const ValeursLigne v = valeursPoint(l, cd.designation, avertissements);
    if (!v.erreur().isEmpty()) {
        erreur = v.erreur();
        return false;
    }
    if (!v.mettreAJour({QStringLiteral("CodeQualitometre")}, {id}, erreur)) return false;
    if (!l[MasseEau].isEmpty() && !lierMassesEau(id, {l[MasseEau]}, {}, erreur)) return false;
    if (t.valider()) return true;
    erreur = bd().derniereErreur();
    return false;
}

} // namespace

const QStringList &colonnesPointsEau()
{
    static const QStringList noms = {
        QStringLiteral("Code"),       QStringLiteral("Nom"),         QStringLiteral("Altitude"),
        QStringLiteral("Adresse"),    QStringLiteral("X"),           QStringLiteral("Y"),
        QStringLiteral("Projection"), QStringLiteral("Commentaire"), QStringLiteral("Nature"),
        QStringLiteral("Commune"),    QStringLiteral("Masse d'eau"),
    };
    return noms;
}

QString listerPointsEauXml(const QString &chemin, QVector<QStringList> &apercu,
                           Progression *progression, ElementsIgnores *ignores)
{
    apercu.clear();
    ElementsIgnores nonRepris;
    ParcoursSandre p;
    p.estUnite = [](QStringView nom, const QStringList &) {
        return nom.compare(QLatin1String("PointEau"), Qt::CaseInsensitive) == 0;
    };
    p.unite = [&](const NoeudXml &n, const QStringList &) {
        apercu.append(lirePoint(n));
        nonRepris.compterNonLus(n);
    };
    QString erreur;
    if (!parcourirSandre(chemin, p, erreur, progression)) {
        apercu.clear();
        return erreur;
    }
    nonRepris.journaliser(chemin);
    if (ignores) *ignores = nonRepris;
    return {};
}

QString integrerPointsEau(bool remplacer, const QVector<QStringList> &apercu,
                          Progression *progression, QStringList *avertissements)
{
    Progression &prog = progression ? *progression : progressionNulle();
    QStringList erreurs, avis;
    for (int i = 0; i < apercu.size(); ++i) {
        if (prog.annule()) break;
        prog.position(i, apercu.size());
        QStringList l = apercu[i];
        while (l.size() < NbColonnes)
            l.append(QString());
        QString erreur;
        if (!integrerPoint(remplacer, l, avis, erreur))
            erreurs.append(texteImportLabo::ERREUR_STATION + l[Code] + QStringLiteral(" : ") +
                           erreur);
    }
    if (avertissements) *avertissements = avis;
    return erreurs.join(QLatin1Char('\n'));
}

} // namespace vyk
