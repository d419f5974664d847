#include "quality/CarteSituation.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include "schema/Catalogue.h"

#include <QHash>
#include <QSet>

namespace vyk {

bool estSupportPhysicoChimique(const QString &support)
{
    static const QStringList supports = {QStringLiteral("001"), QStringLiteral("031"),
                                         QStringLiteral("061"), QStringLiteral("071"),
                                         QStringLiteral("091"), QStringLiteral("691")};
    return supports.contains(support.trimmed());
}

QString typeListeSupport(const QString &support)
{
    if (estSupportPhysicoChimique(support)) return QStringLiteral("0");
    return support.trimmed() == QLatin1String("-1") ? QStringLiteral("2") : QStringLiteral("1");
}

QVector<LigneCarte> stationsCarte(const QStringList &codes)
{
    QStringList nombres;
    for (const QString &c : codes)
        if (const Nombre n = enNombre(c); n.estNombre()) nombres << sqlNombre(n.valeur);
    QVector<LigneCarte> lignes;
    if (nombres.isEmpty()) return lignes;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom, typeStation, type_FR FROM "
                       "QUALITOMETRES WHERE CodeQualitometre in (") +
        nombres.join(u',') + u')');
    QHash<qint64, int> index;
    for (int i = 0; i < t.nbLignes(); ++i)
        index.insert(t.valeur(i, QStringLiteral("CodeQualitometre")).toLongLong(), i);
    // The catalogue once for every station, not once per station (a catalogue query costs
    // milliseconds on a server).
    QSet<QString> tables;
    for (const QString &nom : bd().tables())
        tables.insert(nom.toUpper());
    for (const QString &c : codes) {
        const auto it = index.constFind(qint64(enNombre(c).valeur));
        if (it == index.constEnd()) continue;
        const int i = *it;
        LigneCarte l;
        const QString codeBSS = t.texte(i, QStringLiteral("CodeBSS"));
        l.station = {t.valeur(i, QStringLiteral("CodeQualitometre")).toLongLong(), codeBSS,
                     tables.contains((PREFIXE_ANALYSES + codeBSS.trimmed()).toUpper())};
        l.nom = t.texte(i, QStringLiteral("Nom"));
        l.typeStation = t.texte(i, QStringLiteral("typeStation"));
        l.typeFr = t.texte(i, QStringLiteral("type_FR"));
        lignes << l;
    }
    return lignes;
}

namespace {

CriteresCalcul criteres(const ParametresCarte &p)
{
    return {lireDate(p.dateCalcul).date(), p.periode, p.ageLimite, p.statut, p.qualification};
}

// The value of the station by the statistics of the support.
void calculerValeur(const ParametresCarte &p, const CriteresCalcul &c, LigneCarte &l)
{
    if (estSupportPhysicoChimique(p.support))
        calculStatistiqueAnalyses(l.station, p.code, p.unite, c, p.genre, l.valeur);
    else if (p.support.trimmed() == QLatin1String("-1"))
        dernierResultatOperation(l.station.codeQualitometre, p.code, c, l.valeur);
    else {
        static const QStringList couverts = {QStringLiteral("271"), QStringLiteral("101"),
                                             QStringLiteral("111")};
        calculDenombrementTaxon(l.station.codeQualitometre,
                                couverts.contains(p.support.trimmed()) ? 0 : 1, p.code, c,
                                l.valeur);
    }
}

void comparer(const ParametresCarte &p, const SeuilsCharges *s, LigneCarte &l)
{
    if (p.anneeReference.trimmed().isEmpty()) {
        l.comparaison.reference.clear();
        return;
    }
    if (estSupportPhysicoChimique(p.support)) {
        comparerAnneeReference(l.station, p.code, p.unite, p.anneeReference, p.statut,
                               p.qualification, p.marge, l.valeur.valeur, l.comparaison);
    } else if (p.support.trimmed() == QLatin1String("-1")) {
        const Classement classer = [&](const QString &v) {
            return s ? getClasse(v, s->bornes, &s->types, l.typeStation, l.typeFr)
                     : QStringLiteral("-1");
        };
        comparerClasseAnneeReference(l.station.codeQualitometre, p.anneeReference, p.code, p.statut,
                                     p.qualification, p.marge, l.valeur.classe, classer,
                                     l.comparaison);
    }
}

} // namespace

QString calculerCarte(const ParametresCarte &p, QVector<LigneCarte> stations,
                      ResultatCarte &resultat, Progression &progression)
{
    resultat = ResultatCarte{};
    if (!lireDate(p.dateCalcul).isValid()) return texteCarte::DATE_INCORRECTE;
    std::optional<SeuilsCharges> seuils;
    const QString typeListe = typeListeSupport(p.support);
    if (!p.seuil.trimmed().isEmpty()) {
        seuils = chargerSeuils(p.seuil, typeListe, p.code, p.unite);
        if (!seuils) return bd().derniereErreur();
        resultat.legendes = seuils->legendes;
    }
    // Physico-chemistry is classed without the station types.
    const bool avecTypes = typeListe != QLatin1String("0");
    const CriteresCalcul c = criteres(p);
    progression.message(texteCarte::CALCUL);
    for (qsizetype i = 0; i < stations.size(); ++i) {
        if (progression.annule()) {
            resultat.annule = true;
            break;
        }
        progression.position(i, stations.size());
        LigneCarte &l = stations[i];
        calculerValeur(p, c, l);
        if (!seuils)
            l.valeur.classe = QStringLiteral("-1");
        else if (!l.valeur.valeur.isEmpty())
            l.valeur.classe =
                getClasse(l.valeur.valeur, seuils->bornes, avecTypes ? &seuils->types : nullptr,
                          l.typeStation, l.typeFr);
        comparer(p, seuils ? &*seuils : nullptr, l);
        resultat.lignes << l;
    }
    progression.position(stations.size(), stations.size());
    return {};
}

QStringList entetesCarte()
{
    return {QStringLiteral("Code station"), QStringLiteral("Nom"),    QStringLiteral("Date"),
            QStringLiteral("Valeur"),       QStringLiteral("Classe"), QStringLiteral("Référence"),
            QStringLiteral("Tendance")};
}

QVector<QStringList> lignesCarte(const ResultatCarte &resultat)
{
    QVector<QStringList> lignes;
    lignes.reserve(resultat.lignes.size());
    for (const LigneCarte &l : resultat.lignes)
        lignes << QStringList{l.station.codeBSS,       l.nom,           l.valeur.date,
                              l.valeur.valeurAffichee, l.valeur.classe, l.comparaison.reference,
                              l.comparaison.tendance};
    return lignes;
}

bool exporterCarte(const ResultatCarte &resultat, const QString &chemin, QString *erreur)
{
    return exporterGrilleFichier(chemin, QStringLiteral("Situation qualité"), entetesCarte(),
                                 lignesCarte(resultat), erreur);
}

} // namespace vyk
