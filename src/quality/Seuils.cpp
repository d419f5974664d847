#include "quality/Seuils.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Outils.h"
#include "db/Sql.h"

namespace vyk {

const QVector<GenreSeuils> &genresSeuils()
{
    static const QVector<GenreSeuils> genres = {
        {QStringLiteral("Paramètres physico-chimiques"), QStringLiteral("SEUILS"),
         QStringLiteral("0")},
        {QStringLiteral("Taxons"), QStringLiteral("SEUILS.TAXONS"), QStringLiteral("1")},
        {QStringLiteral("Indices"), QStringLiteral("SEUILS.RESULTATS"), QStringLiteral("2")},
        {QStringLiteral("Etats"), QStringLiteral("SEUILS.ETATS"), QStringLiteral("4")},
    };
    return genres;
}

const GenreSeuils *genreSeuils(const QString &champOuTypeListe)
{
    const QString cle = champOuTypeListe.trimmed().toUpper();
    for (const GenreSeuils &g : genresSeuils())
        if (g.champ == cle || g.typeListe == cle) return &g;
    return nullptr;
}

QString typeListeDuChamp(const QString &champ)
{
    const GenreSeuils *g = genreSeuils(champ);
    return g && g->champ == champ.trimmed().toUpper() ? g->typeListe : QStringLiteral("3");
}

bool bornesDecroissantes(const QVector<double> &bornes)
{
    return bornes.size() >= 3 && bornes[0] > bornes[1];
}

namespace {

bool monotones(const QVector<double> &bornes, bool decroissantes)
{
    for (qsizetype k = 1; k < bornes.size(); ++k)
        if (decroissantes ? bornes[k] > bornes[k - 1] : bornes[k] < bornes[k - 1]) return false;
    return true;
}

// Class 1 to n + 1 of a number: one more than the bounds it passes.
int classeNombre(double v, const QVector<double> &bornes, bool decroissantes)
{
    std::vector<std::optional<double>> places(bornes.begin(), bornes.end());
    return bornePassee(v, places, decroissantes) + 1;
}

// Orientation of a type row: from its first two bounds, whatever their number.
bool typeDecroissant(const QVector<double> &seuils)
{
    return seuils.size() >= 2 && seuils[0] > seuils[1];
}

const LigneTypeSeuils *ligneDuType(const QVector<LigneTypeSeuils> &types,
                                   const QString &typeStation, const QString &typeFr)
{
    for (const bool propre : {true, false})
        for (const LigneTypeSeuils &l : types)
            if (l.codeParametre.isEmpty() != propre && l.typeStation == typeStation &&
                l.typeFr == typeFr)
                return &l;
    return nullptr;
}

QString nombre(double v)
{
    return texteValeur(QVariant(v));
}

} // namespace

int bornePassee(double valeur, std::span<const std::optional<double>> bornes, bool decroissantes)
{
    int place = 0;
    for (size_t k = 0; k < bornes.size(); ++k) {
        if (!bornes[k]) continue;
        if (decroissantes ? valeur > *bornes[k] : valeur <= *bornes[k]) break;
        place = int(k) + 1;
    }
    return place;
}

bool bornesMonotones(const QVector<double> &bornes)
{
    return bornes.size() < 3 || monotones(bornes, bornesDecroissantes(bornes));
}

QString getClasse(const QString &valeur, const QVector<double> &bornes,
                  const QVector<LigneTypeSeuils> *types, const QString &typeStation,
                  const QString &typeFr)
{
    if (valeur.trimmed().isEmpty()) return QStringLiteral("0");
    const Nombre n = enNombre(valeur);
    if (!n.estNombre()) return QStringLiteral("0");
    if (types) {
        if (const LigneTypeSeuils *l = ligneDuType(*types, typeStation, typeFr)) {
            const bool decroissant = typeDecroissant(l->seuils);
            if (l->seuils.isEmpty() || !monotones(l->seuils, decroissant))
                return QStringLiteral("0");
            const int classe = classeNombre(n.valeur, l->seuils, decroissant);
            if (decroissant && classe == l->seuils.size() + 1) return {};
            return QString::number(classe);
        }
    }
    if (bornes.isEmpty() || !bornesMonotones(bornes)) return QStringLiteral("0");
    return QString::number(classeNombre(n.valeur, bornes, bornesDecroissantes(bornes)));
}

QStringList legendesClasses(const QVector<double> &bornes)
{
    QStringList legendes;
    if (bornes.isEmpty()) return legendes;
    // Decreasing bounds close their classes from below: the signs turn round.
    const bool dec = bornesDecroissantes(bornes);
    const QString haut = dec ? QStringLiteral("> ") : QStringLiteral("<= ");
    const QString bas = dec ? QStringLiteral("<= ") : QStringLiteral("> ");
    legendes << haut + nombre(bornes.first());
    for (qsizetype k = 1; k < bornes.size(); ++k)
        legendes << bas + nombre(bornes[k - 1]) + QStringLiteral(" et ") + haut + nombre(bornes[k]);
    legendes << bas + nombre(bornes.last());
    return legendes;
}

namespace {

QVector<double> bornesLigne(const Tableau &t, int ligne)
{
    static const QString colonnes[] = {QStringLiteral("seuil1"), QStringLiteral("seuil2"),
                                       QStringLiteral("seuil3"), QStringLiteral("seuil4")};
    QVector<double> bornes;
    for (const QString &c : colonnes)
        if (const QVariant &v = t.valeur(ligne, c); !v.isNull()) bornes << v.toDouble();
    return bornes;
}

// The first row of the element's own statement, else of the default row's.
std::optional<QVector<double>> premiereLigne(const QString &propre, const QString &defaut)
{
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(propre, nb, t)) return {};
    if (t.estVide() && !bd().ExtraireRecords(defaut, nb, t)) return {};
    return t.estVide() ? QVector<double>() : bornesLigne(t, 0);
}

void signalerIncoherence(const QString &seuil, const QString &code, const QVector<double> &b)
{
    QStringList textes;
    for (double v : b)
        textes << nombre(v);
    journaliser(QStringLiteral("Seuils non monotones : valeurs non classées"),
                QStringLiteral("Seuil %1, élément %2 : %3")
                    .arg(seuil, code.isEmpty() ? QStringLiteral("(défaut)") : code,
                         textes.join(QStringLiteral(", "))));
}

const QString SELECT_BORNES = QStringLiteral("SELECT seuil1, seuil2, seuil3, seuil4 FROM "
                                             "ANALYSES_SEUILS WHERE ");

} // namespace

std::optional<SeuilsCharges> chargerSeuils(const QString &seuil, const QString &typeListe,
                                           const QString &code, const QString &unite)
{
    const Nombre numero = enNombre(seuil);
    if (!numero.estNombre()) return {};
    const QString ensemble = QStringLiteral("typeSeuil=") + sqlNombre(numero.valeur) +
                             QStringLiteral(" and typeListe=") + sqlTexte(typeListe);
    std::optional<QVector<double>> bornes;
    SeuilsCharges r;
    if (typeListe == QLatin1String("0")) {
        bornes =
            premiereLigne(SELECT_BORNES + ensemble + QStringLiteral(" and codeParametre=") +
                              sqlTexte(code) + QStringLiteral(" and codeUnite=") + sqlTexte(unite),
                          SELECT_BORNES + ensemble +
                              QStringLiteral(" and codeParametre is null and codeUnite is null"));
    } else {
        bornes = premiereLigne(SELECT_BORNES + ensemble + QStringLiteral(" and codeParametre=") +
                                   sqlTexte(code) + QStringLiteral(" and typeFr is null"),
                               SELECT_BORNES + ensemble +
                                   QStringLiteral(" and codeParametre is null and typeFr is null"));
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(
                QStringLiteral("SELECT seuil1, seuil2, seuil3, seuil4, typeStation, typeFr, "
                               "codeParametre FROM ANALYSES_SEUILS WHERE ") +
                    ensemble + QStringLiteral(" and (codeParametre is null or codeParametre=") +
                    sqlTexte(code) + QStringLiteral(") and typeFr is not null"),
                nb, t))
            return {};
        for (int i = 0; i < t.nbLignes(); ++i) {
            LigneTypeSeuils l{bornesLigne(t, i), t.texte(i, QStringLiteral("typeStation")),
                              t.texte(i, QStringLiteral("typeFr")),
                              t.texte(i, QStringLiteral("codeParametre"))};
            if (!monotones(l.seuils, typeDecroissant(l.seuils))) {
                r.incoherent = true;
                signalerIncoherence(seuil, l.codeParametre, l.seuils);
            }
            r.types << l;
        }
    }
    if (!bornes) return {};
    r.bornes = *bornes;
    r.legendes = legendesClasses(r.bornes);
    if (!bornesMonotones(r.bornes)) {
        r.incoherent = true;
        signalerIncoherence(seuil, code, r.bornes);
    }
    return r;
}

} // namespace vyk
