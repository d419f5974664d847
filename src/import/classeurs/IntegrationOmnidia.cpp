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

std::optional<double> nombreOuRien(const QString &texte)
{
    const Nombre n = enNombre(texte, true);
    return n.estNombre() ? std::optional<double>(n.valeur) : std::nullopt;
}

} // namespace

QString taxonOmnidia(const QString &code)
{
    for (const char *colonne : {"codeOmnidia", "synonymeOmnidia", "teraOmnidia"}) {
        InstructionPreparee q =
            bd().preparer(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE ") +
                          QString::fromLatin1(colonne) + QStringLiteral("=? ORDER BY codeTaxon"));
        Tableau t;
        if (q.extraire(t, {code}) && !t.estVide()) return t.texte(0, 0);
    }
    return {};
}

namespace {

// One row; "" or why it was not written.
QString integrerReleve(const ReleveOmnidia &r, EcritureHydrobio &ecriture, Progression &progression,
                       QHash<QString, QString> &taxons, QStringList &inconnus)
{
    const QDateTime date = lireDate(r.date);
    if (!date.isValid()) return QStringLiteral("la date n'est pas une date");
    StationClasseur s;
    s.code = r.station;
    s.nom = r.nomStation;
    s.coursEau = r.coursEau;
    QString raison;
    const qint64 station = ecriture.station(s, raison);
    if (station < 0) return raison;
    progression.message(texteOmnidia::INTEGRATION);
    const qint64 operation =
        ecriture.operation(station, QStringLiteral("101"), SUPPORT_DIATOMEES, date.date(), raison);
    if (operation < 0) return raison;
    QVector<ResultatIndice> resultats;
    if (const auto v = nombreOuRien(r.ibd)) resultats.append({IBD, v});
    if (const auto v = nombreOuRien(r.ips)) resultats.append({IPS, v});
    if (!ecriture.ecrireResultats(station, operation, {IBD, IPS}, resultats, raison)) return raison;
    progression.message(texteOmnidia::LISTE);
    QVector<LigneTaxonListe> lignes;
    for (const QString &cellule : r.flore) {
        QString code;
        double nombre = 0;
        if (!lireTaxonOmnidia(cellule, code, nombre)) {
            if (!inconnus.contains(cellule.trimmed())) inconnus << cellule.trimmed();
            continue;
        }
        progression.message(QStringLiteral("Recherche du code ") + code);
        auto trouve = taxons.constFind(code);
        if (trouve == taxons.constEnd()) trouve = taxons.insert(code, taxonOmnidia(code));
        if (trouve->isEmpty()) {
            if (!inconnus.contains(code)) inconnus << code;
            continue;
        }
        LigneTaxonListe l;
        l.codeTaxon = *trouve;
        l.valeurs[DenombrementA] = nombre;
        lignes << l;
    }
    if (!ecriture.ecrireListe(station, operation, lignes, raison)) return raison;
    return {};
}

} // namespace

bool integrerReleves(const QVector<ReleveOmnidia> &releves, EcritureHydrobio &ecriture,
                     Progression &progression, bool arret, BilanAnalyses &bilan,
                     QStringList &inconnus)
{
    QHash<QString, QString> taxons;
    bilan.lignesLues += int(releves.size());
    for (int i = 0; i < releves.size(); ++i) {
        if (progression.annule()) {
            bilan.interrompu = true;
            return false;
        }
        progression.position(i, releves.size());
        const ReleveOmnidia &r = releves.at(i);
        const QString raison = integrerReleve(r, ecriture, progression, taxons, inconnus);
        if (raison.isEmpty()) continue;
        LigneEnErreur e;
        e.ligne = i + 1;
        e.origine = QStringLiteral("ligne ") + QString::number(r.ligne);
        e.raison =
            texteIntegration::erreurLigne(r.station, r.date, {}) + QStringLiteral(" : ") + raison;
        bilan.lignesEnErreur << e;
        if (arret) {
            bilan.interrompu = true;
            return false;
        }
    }
    return true;
}

} // namespace vyk
