#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/Tableau.h"
#include "import/classeurs/EcritureHydrobio.h"
#include "import/classeurs/Omnidia.h"

namespace vyk {

namespace {

constexpr int IBD = 5856;
constexpr int IPS = 1022;
constexpr int SUPPORT_DIATOMEES = 10;

NombreLu nombreOuRien(const QString &texte)
{
    const Nombre n = enNombre(texte, true);
    return n.estNombre() ? NombreLu(n.valeur) : std::nullopt;
}

} // namespace

QString taxonOmnidia(const QString &code)
{
    for (const char *colonne : {"codeOmnidia", "synonymeOmnidia", "teraOmnidia"}) {
        InstructionPreparee q =
            bd().preparer(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE ") +
                          QString::fromLatin1(colonne) + QStringLiteral("=? ORDER BY codeTaxon"));
        Tableau t;
        if (q.extraire(t, {code}) && !t.estVide()) return t.texte(0, QStringLiteral("codeTaxon"));
    }
    return {};
}

namespace {

// One row; "" or why it was not written.
QString integrerReleve(const ReleveOmnidia &r, EcritureObjets &ecriture,
                       const DefautsOperation &defauts, Progression &progression,
                       QHash<QString, QString> &taxons, QStringList &inconnus)
{
    const QDateTime date = lireDate(r.date);
    if (!date.isValid()) return QStringLiteral("la date n'est pas une date");
    StationClasseur s;
    s.code = r.station;
    s.nom = r.nomStation;
    s.coursEau = r.coursEau;
    QString raison;
    const qint64 station = ecrireStationClasseur(ecriture, s, raison);
    if (station < 0) return raison;
    progression.message(texteOmnidia::INTEGRATION);
    const CleOperation cle{r.station.trimmed(), QStringLiteral("101"), date.date(), {}, {}};
    const qint64 operation =
        ecriture.ecrireOperation(defauts.operation(cle, SUPPORT_DIATOMEES), raison);
    if (operation < 0) return raison;
    // The calculator's results replace the operation's former ones.
    if (!effacerResultats(station, operation, {IBD, IPS}, raison)) return raison;
    for (const auto &[parametre, texte] : {std::pair{IBD, r.ibd}, std::pair{IPS, r.ips}}) {
        ResultatOperation resultat{cle, parametre, {}, nombreOuRien(texte), {}, {}};
        if (resultat.resultat && !ecriture.ecrireResultatOperation(resultat, raison)) return raison;
    }
    progression.message(texteOmnidia::LISTE);
    for (const QString &cellule : r.flore) {
        TaxonDenombre t;
        t.operation = cle;
        double nombre = 0;
        if (!lireTaxonOmnidia(cellule, t.codeTaxon, nombre)) {
            if (!inconnus.contains(cellule.trimmed())) inconnus << cellule.trimmed();
            continue;
        }
        progression.message(QStringLiteral("Recherche du code ") + t.codeTaxon);
        auto trouve = taxons.constFind(t.codeTaxon);
        if (trouve == taxons.constEnd())
            trouve = taxons.insert(t.codeTaxon, taxonOmnidia(t.codeTaxon));
        if (trouve->isEmpty()) {
            if (!inconnus.contains(t.codeTaxon)) inconnus << t.codeTaxon;
            continue;
        }
        t.codeTaxon = *trouve;
        t.valeurs[DenombrementA] = nombre;
        if (!ecriture.ecrireTaxon(t, raison)) return raison;
    }
    return {};
}

} // namespace

bool integrerReleves(const QVector<ReleveOmnidia> &releves, EcritureObjets &ecriture,
                     Progression &progression, bool arret, BilanAnalyses &bilan,
                     QStringList &inconnus)
{
    QHash<QString, QString> taxons;
    const DefautsOperation defauts = DefautsOperation::lire();
    return integrerElements(
        int(releves.size()), progression, arret, bilan,
        [&](int i) -> ElementHydrobio {
            const ReleveOmnidia &r = releves.at(i);
            return {QStringLiteral("ligne ") + QString::number(r.ligne), r.station, r.date};
        },
        [&](int i) {
            return integrerReleve(releves.at(i), ecriture, defauts, progression, taxons, inconnus);
        });
}

} // namespace vyk
