#include "import/classeurs/FicheEnvoi.h"

#include "db/CleColonne.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/IntegrationInterne.h"
#include "import/LectureSandre.h"

namespace vyk {

namespace {

bool estMacrophytes(const QString &modele)
{
    return modele == QLatin1String("MACROPHYTES");
}

QString texte(const Feuille &f, CelluleFiche c)
{
    return texteUtile(f, c.ligne, c.colonne);
}

NombreLu nombre(const QString &t)
{
    const Nombre n = enNombre(t, true);
    return n.estNombre() ? NombreLu(n.valeur) : std::nullopt;
}

// Count columns of the taxa list and the list value each feeds.
QVector<QPair<const char *, int>> comptes(const QString &modele)
{
    if (estMacrophytes(modele)) return {{"UR1", PourcentageA}, {"UR2", PourcentageB}};
    return {{"A", DenombrementA}, {"B", DenombrementB}, {"C", DenombrementC}};
}

QString refus(const FicheEnvoi &f, CelluleFiche c, const QString &quoi, const QString &raison)
{
    return refusCellule(f.feuille, c.ligne, c.colonne, quoi, raison);
}

QString pasUnNombre(const QString &t)
{
    return QStringLiteral("« %1 » n'est pas un nombre.").arg(t);
}

// The environmental measures and the openness of the site; "" or why a cell is refused.
QString lireConditions(const Feuille &f, FicheEnvoi &fiche)
{
    namespace c = cellulesFiche;
    namespace p = parametreEnv;
    const struct
    {
        CelluleFiche cellule;
        int parametre;
        const char *nom;
    } cellules[] = {{c::SITUATION, p::SITUATION, "situation hydrologique"},
                    {c::METEO, p::METEO, "conditions météorologiques"},
                    {c::VISIBILITE, p::VISIBILITE, "visibilité du fond"},
                    {c::TURBIDITE, p::TURBIDITE, "turbidité"},
                    {c::PERIPHYTON, p::PERIPHYTON, "périphyton"}};
    for (const auto &[cellule, parametre, nom] : cellules) {
        const QString t = texte(f, cellule);
        if (t.isEmpty()) continue;
        MesureEnvironnement m;
        m.parametre = parametre;
        m.mesure = nombre(t);
        if (!m.mesure) return refus(fiche, cellule, QString::fromUtf8(nom), pasUnNombre(t));
        fiche.mesures << m;
    }
    const QString ouverture = texte(f, c::OUVERTURE);
    if (!lireOuverture(ouverture, fiche.ouverture))
        return refus(fiche, c::OUVERTURE, QStringLiteral("ouverture du site"),
                     ouvertureInconnue(ouverture));
    return {};
}

// The elementary samplings of B33:D34; "" or why a cell is refused.
QString lirePrelevements(const Feuille &f, FicheEnvoi &fiche)
{
    const CelluleFiche debut = cellulesFiche::PRELEVEMENTS;
    for (int i = 0; i < cellulesFiche::NB_PRELEVEMENTS; ++i) {
        const CelluleFiche code{debut.ligne + i, debut.colonne},
            substrat{code.ligne, code.colonne + 1}, vitesse{code.ligne, code.colonne + 2};
        PrelevementElementaire p;
        p.indice = i + 1;
        p.codePrelevement = texte(f, code);
        p.codeSubstrat = texte(f, substrat);
        const QString classe = texte(f, vitesse);
        if (p.codePrelevement.isEmpty() && p.codeSubstrat.isEmpty() && classe.isEmpty()) continue;
        if (p.codePrelevement.isEmpty())
            return refus(fiche, code, QStringLiteral("prélèvement élémentaire"),
                         QStringLiteral("Le code du prélèvement n'est pas renseigné."));
        if (p.codePrelevement.size() > 10)
            return refus(fiche, code, QStringLiteral("prélèvement élémentaire"),
                         QStringLiteral("« %1 » dépasse 10 caractères.").arg(p.codePrelevement));
        if (p.codeSubstrat.size() > 5)
            return refus(fiche, substrat, QStringLiteral("substrat"),
                         QStringLiteral("« %1 » dépasse 5 caractères.").arg(p.codeSubstrat));
        const NombreLu v = nombre(classe);
        if (!classe.isEmpty() && (!v || *v != qint64(*v)))
            return refus(fiche, vitesse, QStringLiteral("classe de vitesse"),
                         QStringLiteral("« %1 » n'est pas un code.").arg(classe));
        if (v) p.classeVitesse = qint64(*v);
        fiche.prelevements << p;
    }
    return {};
}

void lireTaxons(const Feuille &f, const QString &modele, FicheEnvoi &fiche,
                ElementsIgnores *ignores)
{
    const auto colonnes = comptes(modele);
    const EnTete e =
        chercherEnTete(f, {QStringLiteral("CODE"), QString::fromLatin1(colonnes[0].first)},
                       f.derniereLigne(), LIGNE_MIN_TAXONS);
    const int debut = e.ligne;
    if (!debut) return;
    const int code = e.colonne({"CODE"});
    QVector<bool> lues(e.noms.size(), false);
    if (code > 0 && code < lues.size()) lues[code] = true;
    for (const auto &[nom, valeur] : colonnes)
        if (const int c = e.colonne({nom}); c > 0 && c < lues.size()) lues[c] = true;
    for (int l = debut + 1; l <= f.derniereLigne(); ++l) {
        TaxonFiche t;
        t.ligne = l;
        t.code = texteUtile(f, l, code);
        if (t.code.isEmpty()) continue;
        for (const auto &[nom, valeur] : colonnes)
            if (const int c = e.colonne({nom}); c > 0) t.valeurs[valeur] = nombre(f.texte(l, c));
        fiche.taxons << t;
        for (int c = 1; ignores && c <= f.derniereColonne(); ++c)
            if ((c >= lues.size() || !lues.at(c)) && !f.texte(l, c).trimmed().isEmpty())
                ignores->ajouter(c < e.noms.size() && !e.noms.at(c).isEmpty()
                                     ? e.noms.at(c)
                                     : QStringLiteral("colonne ") + QString::number(c));
    }
}

} // namespace

bool estFeuilleModele(const QString &modele, const QString &feuille)
{
    static const QStringList cemagref = {"SAISIE", "terrain", "BOC", "LEGENDE", "DEFINITION"};
    static const QStringList macrophytes = {"liste reference", "notice", "station", "accueil",
                                            "modèle"};
    const QString cle = cleNom(feuille);
    for (const QString &n : estMacrophytes(modele) ? macrophytes : cemagref)
        if (cleNom(n) == cle) return true;
    return false;
}

const QStringList &colonnesApercuFiche()
{
    static const QStringList c = {"Identifiant",      "Cours d'eau", "Station",   "code insee",
                                  "Commune",          "latitude",    "longitude", "altitude",
                                  "type cours d'eau", "classeur"};
    return c;
}

QStringList ligneApercu(const FicheEnvoi &f)
{
    auto n = [](const std::optional<double> &v) { return v ? texteCellule(*v) : QString(); };
    const StationClasseur &s = f.station;
    return {s.code, s.coursEau, s.nom,  s.codeInsee,    s.commune,
            n(s.y), n(s.x),     n(s.z), f.typeCoursEau, f.feuille};
}

QString lireFichesEnvoi(const Classeur &classeur, const QString &modele,
                        QVector<FicheEnvoi> &fiches, ElementsIgnores *ignores)
{
    using namespace cellulesFiche;
    for (int i = 1; i <= classeur.nombreFeuilles(); ++i) {
        const Feuille &f = *classeur.feuille(i);
        if (estFeuilleModele(modele, f.nom())) continue;
        FicheEnvoi fiche;
        fiche.feuille = f.nom();
        StationClasseur &s = fiche.station;
        s.code = texte(f, IDENTIFIANT);
        s.coursEau = texte(f, COURS_EAU);
        s.nom = texte(f, STATION);
        s.codeInsee = texte(f, CODE_INSEE);
        s.commune = texte(f, COMMUNE);
        s.y = nombre(texte(f, LATITUDE));
        s.x = nombre(texte(f, LONGITUDE));
        s.z = nombre(texte(f, ALTITUDE));
        s.masseEau = texte(f, MASSE_EAU);
        fiche.typeCoursEau = texte(f, TYPE_COURS_EAU);
        fiche.date = texte(f, DATE);
        if (estMacrophytes(modele)) fiche.indice = texte(f, INDICE);
        QString raison = lireConditions(f, fiche);
        if (raison.isEmpty()) raison = lirePrelevements(f, fiche);
        if (!raison.isEmpty()) return raison;
        lireTaxons(f, modele, fiche, ignores);
        fiches << fiche;
    }
    return fiches.isEmpty() ? texteClasseurs::feuilleAbsente(classeur.chemin()) : QString();
}

namespace {

QString integrerFiche(const QString &modele, const FicheEnvoi &f, EcritureObjets &ecriture,
                      const DefautsOperation &defauts, Progression &progression,
                      QStringList &inconnus)
{
    const QDateTime date = lireDate(f.date);
    if (!date.isValid()) return QStringLiteral("la date n'est pas une date");
    QString raison;
    if (ecrireStationClasseur(ecriture, f.station, raison) < 0) return raison;
    const bool macrophytes = estMacrophytes(modele);
    if (!macrophytes) progression.message(QStringLiteral("Intégration CEMAGREF"));
    const CleOperation cle{f.station.code.trimmed(),
                           macrophytes ? QStringLiteral("271") : QStringLiteral("131"),
                           date.date(),
                           {},
                           {}};
    Operation o = defauts.operation(cle, macrophytes ? 27 : 13);
    o.ombrage = f.ouverture;
    if (ecriture.ecrireOperation(o, raison) < 0 ||
        !remplacerConditions(ecriture, o, f.mesures, &f.prelevements, raison))
        return raison;
    if (const NombreLu v = nombre(f.indice);
        macrophytes && v && !ecriture.ecrireResultatOperation({cle, 2928, {}, v, {}, {}}, raison))
        return raison;
    for (const TaxonFiche &t : f.taxons) {
        if (premiere(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon=?"), {t.code})
                .isNull()) {
            if (!inconnus.contains(t.code)) inconnus << t.code;
            continue;
        }
        TaxonDenombre d;
        d.operation = cle;
        d.codeTaxon = t.code;
        d.valeurs = t.valeurs;
        if (!ecriture.ecrireTaxon(d, raison)) return raison;
    }
    return {};
}

} // namespace

bool integrerFiches(const QString &modele, const QVector<FicheEnvoi> &fiches,
                    EcritureObjets &ecriture, Progression &progression, bool arret,
                    BilanAnalyses &bilan, QStringList &inconnus)
{
    const DefautsOperation defauts = DefautsOperation::lire(!estMacrophytes(modele));
    return integrerElements(
        int(fiches.size()), progression, arret, bilan,
        [&](int i) -> ElementHydrobio {
            const FicheEnvoi &f = fiches.at(i);
            return {QStringLiteral("feuille ") + f.feuille, f.station.code, f.date};
        },
        [&](int i) {
            const FicheEnvoi &f = fiches.at(i);
            progression.message(QStringLiteral("Intégration station ") + f.station.code);
            return integrerFiche(modele, f, ecriture, defauts, progression, inconnus);
        });
}

} // namespace vyk
