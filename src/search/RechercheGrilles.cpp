#include "search/Recherche.h"

#include "db/Tableau.h"
#include "quality/Statistiques.h"

#include <QHash>

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
    std::vector<double> triees = i.valeurs;
    std::sort(triees.begin(), triees.end());
    const double somme = std::accumulate(triees.begin(), triees.end(), 0.0);
    return {percentileTrie(triees, 0.9),           nombre(triees.front()),
            nombre(somme / double(triees.size())), nombre(triees.back()),
            percentileTrie(triees, 0.25),          percentileTrie(triees, 0.5),
            percentileTrie(triees, 0.75)};
}

// What the results shown at one station hold.
struct BilanStation
{
    QStringList elements, prelevements, avecDetection;
};

QVector<BilanStation> bilansStations(const ResultatRecherche &r)
{
    QVector<BilanStation> bilans(r.stations.size());
    for (const LigneResultat &l : r.lignes) {
        BilanStation &b = bilans[l.station];
        const QString prelevement = r.texte(l.numPrelevement);
        if (!b.prelevements.contains(prelevement)) b.prelevements << prelevement;
        if (!l.detection) continue;
        const QString element = r.texte(l.parametre) + u'/' + r.texte(l.unite);
        if (!b.elements.contains(element)) b.elements << element;
        if (!b.avecDetection.contains(prelevement)) b.avecDetection << prelevement;
    }
    return bilans;
}

// The station's places, its coordinates, the class and its colour: the last columns of every kind.
QStringList titresLieuxEtClasse()
{
    return {QStringLiteral("Code HER"),       QStringLiteral("HER"),    QStringLiteral("Code BV"),
            QStringLiteral("Bassin versant"), QStringLiteral("X"),      QStringLiteral("Y"),
            QStringLiteral("Projection"),     QStringLiteral("Classe"), QStringLiteral("Couleur")};
}

// The analyses' words for detections, in the words of the kind: a taxon is counted (its
// occurrence), an index or a state is calculated.
QStringList motsDuGenre(QStringList titres, GenreRecherche genre)
{
    if (genre == GenreRecherche::Analyses) return titres;
    const bool taxa = estGenreTaxons(genre);
    const QString compte = !taxa                                    ? QStringLiteral("Nb calcul")
                           : genre == GenreRecherche::TaxonsReleves ? QStringLiteral("Relevé")
                                                                    : QStringLiteral("Comptage");
    const QString avec = taxa ? QStringLiteral("comptage") : QStringLiteral("calcul");
    const QHash<QString, QString> mots = {
        {QStringLiteral("nb détections"), compte},
        {QStringLiteral("Nb détections"), compte},
        {QStringLiteral("Nb avec détection"), QStringLiteral("Nb avec ") + avec},
        {QStringLiteral("% avec détection"), QStringLiteral("% avec ") + avec},
    };
    for (QString &t : titres) {
        if (taxa && t == u"taux détection")
            t = QStringLiteral("Fréq. occurence");
        else
            t = mots.value(t, t);
    }
    return titres;
}

} // namespace

QStringList titresResultats(GenreRecherche genre)
{
    if (genre == GenreRecherche::Analyses)
        return QStringList{
                   QStringLiteral("Prélèvement"),      QStringLiteral("Identifiant"),
                   QStringLiteral("Station"),          QStringLiteral("Analyse"),
                   QStringLiteral("Numéro"),           QStringLiteral("Paramètre"),
                   QStringLiteral("Résultat"),         QStringLiteral("Unité"),
                   QStringLiteral("Laboratoire"),      QStringLiteral("Seuil1"),
                   QStringLiteral("Seuil2"),           QStringLiteral("Seuil3"),
                   QStringLiteral("Seuil4"),           QStringLiteral("Qualitomètre"),
                   QStringLiteral("num analyse"),      QStringLiteral("Qualification"),
                   QStringLiteral("Statut"),           QStringLiteral("code parametre/symbole"),
                   QStringLiteral("Support"),          QStringLiteral("Commentaire"),
                   QStringLiteral("codeQualitometre"), QStringLiteral("numPrelevement"),
                   QStringLiteral("Operation")} +
               titresLieuxEtClasse();
    const bool taxa = estGenreTaxons(genre);
    QStringList t = {QStringLiteral("Prélèvement"),
                     QStringLiteral("Identifiant"),
                     QStringLiteral("Station"),
                     QStringLiteral("Préleveur"),
                     QStringLiteral("Code"),
                     taxa                             ? QStringLiteral("Taxon")
                     : genre == GenreRecherche::Etats ? QStringLiteral("Etat")
                                                      : QStringLiteral("Paramètre"),
                     !taxa                                    ? QStringLiteral("Résultat")
                     : genre == GenreRecherche::TaxonsReleves ? QStringLiteral("Relevés")
                                                              : QStringLiteral("Comptage"),
                     QStringLiteral("Seuil1"),
                     QStringLiteral("Seuil2"),
                     QStringLiteral("Seuil3"),
                     QStringLiteral("Seuil4"),
                     QStringLiteral("Qualitomètre"),
                     QStringLiteral("Qualification"),
                     QStringLiteral("Statut")};
    if (taxa) t << QStringLiteral("code Taxon");
    return t << QStringLiteral("codeQualitometre") << QStringLiteral("Operation")
             << titresLieuxEtClasse();
}

QStringList celluleResultat(const ResultatRecherche &r, const LigneResultat &l)
{
    const StationRecherche &s = r.stations[l.station];
    const QString date = l.jour.toString(QStringLiteral("dd/MM/yyyy"));
    const auto t = [&r](CelluleRecherche c) { return r.texte(c); };
    QStringList c;
    const QStringList bornes = {seuil(r, l.grille, 0), seuil(r, l.grille, 1), seuil(r, l.grille, 2),
                                seuil(r, l.grille, 3)};
    if (r.genre == GenreRecherche::Analyses) {
        c = QStringList{date,         s.codeBSS,         s.nom,         t(l.dateAnalyse).left(10),
                        t(l.numLabo), t(l.nomParametre), r.resultat(l), t(l.symbole),
                        t(l.labo)} +
            bornes +
            QStringList{s.codeBSS,
                        t(l.numAnalyse),
                        t(l.qualification),
                        t(l.statut),
                        t(l.parametre) + u'/' + t(l.unite),
                        t(l.support),
                        t(l.commentaire),
                        QString::number(s.code),
                        t(l.numPrelevement),
                        t(l.operation)};
    } else {
        c = QStringList{date,           s.codeBSS,         s.nom,        t(l.labo),
                        t(l.parametre), t(l.nomParametre), r.resultat(l)} +
            bornes + QStringList{s.codeBSS, t(l.qualification), t(l.statut)};
        if (estGenreTaxons(r.genre)) c << t(l.numAnalyse);
        c << QString::number(s.code) << t(l.operation);
    }
    const CouleurRgb couleur = couleursClasses()[size_t(l.classe.couleur)];
    return c << s.her << s.nomHer << s.bv << s.nomBv << s.x << s.y << s.projection
             << QString::number(l.classe.classe)
             << QStringLiteral("%1,%2,%3").arg(couleur.r).arg(couleur.g).arg(couleur.b);
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
    g.titres = motsDuGenre(std::move(g.titres), r.genre);
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
    g.titres = motsDuGenre(std::move(g.titres), r.genre);
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
    g.titres = motsDuGenre(std::move(g.titres), r.genre);
    return g;
}

GrilleTexte grilleStations(const ResultatRecherche &r)
{
    GrilleTexte g;
    g.titres = QStringList{QStringLiteral("Code"),
                           QStringLiteral("Identifiant"),
                           QStringLiteral("Nom"),
                           QStringLiteral("Nb éléments détectés"),
                           QStringLiteral("Eléments détectés"),
                           QStringLiteral("Nb prélèvements"),
                           QStringLiteral("Nb prélèvements avec détection"),
                           QStringLiteral("% avec détection"),
                           QStringLiteral("Prélèvements"),
                           QStringLiteral("X"),
                           QStringLiteral("Y"),
                           QStringLiteral("Projection")};
    const QVector<BilanStation> bilans = bilansStations(r);
    for (qsizetype s = 0; s < bilans.size(); ++s) {
        const BilanStation &b = bilans[s];
        if (b.prelevements.isEmpty()) continue;
        const StationRecherche &st = r.stations[s];
        g.lignes << QStringList{QString::number(st.code),
                                st.codeBSS,
                                st.nom,
                                QString::number(b.elements.size()),
                                b.elements.join(u';'),
                                QString::number(b.prelevements.size()),
                                QString::number(b.avecDetection.size()),
                                taux(b.avecDetection.size(), b.prelevements.size()),
                                b.prelevements.join(u';'),
                                st.x,
                                st.y,
                                st.projection};
    }
    return g;
}

GrilleTexte grilleTotalStations(const ResultatRecherche &r)
{
    GrilleTexte g;
    g.titres = QStringList{QStringLiteral("Code"),
                           QStringLiteral("Nb stations"),
                           QStringLiteral("Nb éléments"),
                           QStringLiteral("Nb éléments moyen"),
                           QStringLiteral("Nb prélèvements"),
                           QStringLiteral("Nb détections"),
                           QStringLiteral("Détection moyenne")};
    long long stations = 0, elementsParStation = 0, prelevements = 0, detections = 0;
    QStringList elements;
    for (const BilanStation &b : bilansStations(r)) {
        if (b.prelevements.isEmpty()) continue;
        ++stations;
        elementsParStation += b.elements.size();
        prelevements += b.prelevements.size();
        detections += b.avecDetection.size();
        for (const QString &e : b.elements)
            if (!elements.contains(e)) elements << e;
    }
    const QString moyen =
        stations == 0
            ? QString()
            : nombre(std::round(10.0 * double(elementsParStation) / double(stations)) / 10.0);
    g.lignes << QStringList{QStringLiteral("Total"),          QString::number(stations),
                            QString::number(elements.size()), moyen,
                            QString::number(prelevements),    QString::number(detections),
                            taux(detections, prelevements)};
    return g;
}

} // namespace vyk
