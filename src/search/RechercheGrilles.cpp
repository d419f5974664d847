#include "search/Recherche.h"

#include "db/Tableau.h"
#include "quality/Statistiques.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vyk {

namespace {

QString nombre(double v)
{
    return texteValeur(QVariant(v));
}

// 100 x part / tout to one decimal; empty when nothing was searched (no 0 / 0).
QString taux(long long part, long long tout)
{
    if (tout == 0) return {};
    return nombre(std::round(1000.0 * double(part) / double(tout)) / 10.0);
}

QString seuil(const ResultatRecherche &r, int grille, int k)
{
    if (grille < 0) return {};
    const auto &s = r.grilles[grille].seuils[size_t(k)];
    return s ? nombre(*s) : QString();
}

QStringList comptes(const Indicateur &i)
{
    QStringList c = {i.code, i.element, QString::number(i.recherches),
                     QString::number(i.detections)};
    for (long long n : i.parClasse)
        c << QString::number(n);
    c << taux(i.detections, i.recherches) << QString::number(i.depassements)
      << taux(i.depassements, i.recherches);
    return c;
}

// Percentile 90, min, mean, max, quartiles; empty cells without a value.
QStringList statistiques(const Indicateur &i)
{
    if (i.valeurs.empty()) return QStringList(7, QString());
    QString liste;
    for (double v : i.valeurs)
        liste += nombre(v) + u'|';
    const auto [mini, maxi] = std::minmax_element(i.valeurs.begin(), i.valeurs.end());
    const double somme = std::accumulate(i.valeurs.begin(), i.valeurs.end(), 0.0);
    return {calculPercentile(liste, 0.9),
            nombre(*mini),
            nombre(somme / double(i.valeurs.size())),
            nombre(*maxi),
            calculPercentile(liste, 0.25),
            calculPercentile(liste, 0.5),
            calculPercentile(liste, 0.75)};
}

} // namespace

QStringList titresResultats()
{
    return {QStringLiteral("Prélèvement"),
            QStringLiteral("Identifiant"),
            QStringLiteral("Station"),
            QStringLiteral("Analyse"),
            QStringLiteral("Numéro"),
            QStringLiteral("Paramètre"),
            QStringLiteral("Résultat"),
            QStringLiteral("Unité"),
            QStringLiteral("Laboratoire"),
            QStringLiteral("Seuil1"),
            QStringLiteral("Seuil2"),
            QStringLiteral("Seuil3"),
            QStringLiteral("Seuil4"),
            QStringLiteral("Qualitomètre"),
            QStringLiteral("num analyse"),
            QStringLiteral("Qualification"),
            QStringLiteral("Statut"),
            QStringLiteral("code parametre/symbole"),
            QStringLiteral("Support"),
            QStringLiteral("Commentaire"),
            QStringLiteral("codeQualitometre"),
            QStringLiteral("numPrelevement"),
            QStringLiteral("Operation"),
            QStringLiteral("Code HER"),
            QStringLiteral("HER"),
            QStringLiteral("Code BV"),
            QStringLiteral("Bassin versant"),
            QStringLiteral("X"),
            QStringLiteral("Y"),
            QStringLiteral("Projection"),
            QStringLiteral("Classe"),
            QStringLiteral("Couleur")};
}

QStringList celluleResultat(const ResultatRecherche &r, const LigneResultat &l)
{
    const StationRecherche &s = r.stations[l.station];
    const CouleurRgb c = couleursClasses()[size_t(l.classe.couleur)];
    return {l.prelevement.toString(QStringLiteral("dd/MM/yyyy")),
            s.codeBSS,
            s.nom,
            l.dateAnalyse.left(10),
            l.numLabo,
            l.nomParametre,
            l.resultat,
            l.symbole,
            l.labo,
            seuil(r, l.grille, 0),
            seuil(r, l.grille, 1),
            seuil(r, l.grille, 2),
            seuil(r, l.grille, 3),
            s.codeBSS,
            l.numAnalyse,
            l.qualification,
            l.statut,
            l.parametre + u'/' + l.unite,
            l.support,
            l.commentaire,
            QString::number(s.code),
            l.numPrelevement,
            l.operation,
            s.her,
            QString(),
            s.bv,
            QString(),
            s.x,
            s.y,
            s.projection,
            QString::number(l.classe.classe),
            QStringLiteral("%1,%2,%3").arg(c.r).arg(c.g).arg(c.b)};
}

GrilleTexte grilleIndicateurs(const ResultatRecherche &r)
{
    GrilleTexte g;
    g.titres = QStringList{QStringLiteral("Code"),
                           QStringLiteral("Element"),
                           QStringLiteral("Nb recherches"),
                           QStringLiteral("nb détections"),
                           QStringLiteral("<= seuil 1"),
                           QStringLiteral("> seuil 1 et <= seuil 2"),
                           QStringLiteral("> seuil 2 et <= seuil 3"),
                           QStringLiteral("> seuil 3 et <= seuil 4"),
                           QStringLiteral("> seuil 4"),
                           QStringLiteral("taux détection"),
                           QStringLiteral("nb dépassement Seuil 1"),
                           QStringLiteral("Taux de dépassement"),
                           QStringLiteral("Centile 90%"),
                           QStringLiteral("Mini"),
                           QStringLiteral("Moyenne"),
                           QStringLiteral("Maxi"),
                           QStringLiteral("1er Quartile"),
                           QStringLiteral("Mediane"),
                           QStringLiteral("3eme Quartile"),
                           QStringLiteral("Code Paramètre"),
                           QStringLiteral("Code Unité")};
    for (const Indicateur &i : r.indicateurs)
        g.lignes << comptes(i) + statistiques(i) + QStringList{i.parametre, i.unite};
    return g;
}

GrilleTexte grilleTotaux(const ResultatRecherche &r)
{
    GrilleTexte g;
    g.titres = QStringList{QStringLiteral("Code"),
                           QStringLiteral("Element"),
                           QStringLiteral("Nb recherches"),
                           QStringLiteral("Nb détections"),
                           QStringLiteral("< seuil 1"),
                           QStringLiteral("> seuil 1 et < seuil 2"),
                           QStringLiteral("> seuil 2 et < seuil 3"),
                           QStringLiteral("> seuil 3 et < seuil 4"),
                           QStringLiteral("> seuil 4"),
                           QStringLiteral("taux détection"),
                           QStringLiteral("nb dépassement Seuil 1"),
                           QStringLiteral("Taux de dépassement"),
                           QStringLiteral("Percentile"),
                           QStringLiteral("Mini"),
                           QStringLiteral("Moyenne"),
                           QStringLiteral("Maxi")};
    // Values of different parameters and units make no percentile nor mean together.
    g.lignes << comptes(r.total) + QStringList(4, QString());
    return g;
}

GrilleTexte grilleRepartitions(const ResultatRecherche &r)
{
    GrilleTexte g;
    g.titres = QStringList{QStringLiteral("Code"), QStringLiteral("Element")};
    for (const QString &lieu : {QStringLiteral("Nb stations"), QStringLiteral("Nb masses d'eaux"),
                                QStringLiteral("Nb HER"), QStringLiteral("Nb BV")})
        g.titres << lieu << QStringLiteral("Nb avec détection")
                 << QStringLiteral("% avec détection");
    for (const Indicateur &i : r.indicateurs) {
        QStringList ligne = {i.code, i.element};
        for (const auto &lieux : i.lieux) {
            const auto n = std::count(lieux.cbegin(), lieux.cend(), true);
            ligne << QString::number(lieux.size()) << QString::number(n) << taux(n, lieux.size());
        }
        g.lignes << ligne;
    }
    return g;
}

} // namespace vyk
