#include "referentials/ClesListes.h"

namespace vyk {

namespace {

struct CleListe
{
    const char *cle, *libelle;
};

// clang-format off
constexpr CleListe CLES[] = {
    {"ACCESSIBILITES.TYPE_CONDITION", "Accessibilité : type de condition"},
    {"ACCESSIBILITES.TYPE_FERMETURE", "Accessibilité : type de fermeture"},
    {"AMENAGEMENT.TYPE_AMENAGEMENT", "Aménagement : type d'aménagement"},
    {"ANALYSES.ACCREDITATION", "Analyses : accréditation"},
    {"ANALYSES.CALCUL_INDICE", "Analyses : prise en compte dans le calcul d'indice"},
    {"ANALYSES.CODEREMARQUE", "Analyses : code remarque"},
    {"ANALYSES.CONFIANCE", "Analyses : confiance"},
    {"ANALYSES.DIFFICULTE", "Analyses : difficulté d'analyse"},
    {"ANALYSES.LIEU", "Analyses : lieu d'analyse"},
    {"ANALYSES.QUALIFICATION", "Analyses : qualification"},
    {"ANALYSES.REMARQUE", "Analyses : remarque"},
    {"ANALYSES.REPRESENTATIVITE", "Analyses : représentativité"},
    {"ANALYSES.STATUT", "Analyses : statut"},
    {"CHRONIQUE.CONTINUITE", "Chroniques : continuité"},
    {"CHRONIQUE.MODE_OBTENTION", "Chroniques : mode d'obtention"},
    {"CHRONIQUE.VALIDITE", "Chroniques : validité"},
    {"COMMUNES.SITUATION", "Communes : situation"},
    {"DEPOUILLEMENT", "Dépouillement"},
    {"DISPOSITIFS.CONDITIONS_DIFFUSIONS", "Dispositifs : conditions de diffusion"},
    {"DISPOSITIFS.EMPRISE_SPATIALE", "Dispositifs : emprise spatiale"},
    {"DISPOSITIFS.ETATS", "Dispositifs : états"},
    {"DISPOSITIFS.TYPE_RESEAU", "Dispositifs : type de réseau"},
    {"ENTITES_HYDROGEOLOGIQUES.ETAT", "Entités hydrogéologiques : état"},
    {"ENTITES_HYDROGEOLOGIQUES.NATURE", "Entités hydrogéologiques : nature"},
    {"ENTITES_HYDROGEOLOGIQUES.STATUT", "Entités hydrogéologiques : statut"},
    {"ENTITES_HYDROGEOLOGIQUES.STRUCTURE", "Entités hydrogéologiques : structure"},
    {"ENTITES_HYDROGEOLOGIQUES.TYPEDOMINANT", "Entités hydrogéologiques : type dominant"},
    {"ETATS", "États"},
    {"ETATS.VALEURS", "États : valeurs"},
    {"EVENEMENTS", "Événements"},
    {"FONCTIONS", "Fonctions"},
    {"FRACTIONS", "Fractions analysées"},
    {"HYDRO.NATUREOBJETHYDRO", "Hydrographie : nature de l'objet hydrographique"},
    {"HYDRO.TYPESTATION", "Hydrométrie : type de station"},
    {"INTERVENANTS", "Intervenants"},
    {"INTERVENANTS.DOMAINES", "Intervenants : domaines"},
    {"INTERVENANTS.STATUT", "Intervenants : statut"},
    {"LIEN_PIEZO_INTERVENANTS.TYPEINTERVENANT", "Piézomètres : rôle des intervenants"},
    {"LIEN_PLUVIO_INTERVENANTS.TYPEINTERVENANT", "Pluviomètres : rôle des intervenants"},
    {"LIEN_QUALITO_INTERVENANTS.TYPEINTERVENANT", "Qualitomètres : rôle des intervenants"},
    {"LITHOLOGIE.CODELITHOLOGIE", "Lithologie : code lithologique"},
    {"LITHOLOGIE.CODE_LITHOLOGIE", "Lithologie : lithologie"},
    {"MASSES_EAUX", "Masses d'eau"},
    {"MASSES_EAUX.TYPE_ME", "Masses d'eau : type"},
    {"MAT_BATTERIES.TYPE", "Matériel : type de batterie"},
    {"MAT_CAPTEURS.TYPE", "Matériel : type de capteur"},
    {"MAT_CENTRALES.TYPE", "Matériel : type de centrale"},
    {"MAT_DIVERS.TYPE", "Matériel : type de matériel divers"},
    {"MAT_MODEMS.TYPE", "Matériel : type de modem"},
    {"MAT_SITUATIONS.CODEETAT", "Matériel : état"},
    {"METHODES", "Méthodes"},
    {"MODES_MESURES.METHODE", "Modes de mesure : méthode"},
    {"MODES_MESURES.PERIODICITE", "Modes de mesure : périodicité"},
    {"PARAMETRES", "Paramètres"},
    {"PIEZOMETRES.ARTESIANISME", "Piézomètres : artésianisme"},
    {"PIEZOMETRES.CODENATURE", "Piézomètres : nature"},
    {"PIEZOMETRES.EXPRESSIONCOTE", "Piézomètres : expression de la cote"},
    {"PIEZOMETRES.MODEGISEMENT", "Piézomètres : mode de gisement"},
    {"PIEZOMETRES.TYPE", "Piézomètres : type"},
    {"PIEZOMETRES.TYPEPROJECTION", "Piézomètres : projection des coordonnées"},
    {"PIEZOMETRES_PRELEVEMENTS.USAGES", "Piézomètres : usages des prélèvements"},
    {"PLUVIOMETRES.TYPEPROJECTION", "Pluviomètres : projection des coordonnées"},
    {"PRELEVEMENTS.CLASSE", "Prélèvements : classe"},
    {"PRELEVEMENTS.COLMATAGE", "Prélèvements : colmatage"},
    {"PRELEVEMENTS.DIATOMEES", "Prélèvements : diatomées"},
    {"PRELEVEMENTS.FACIES", "Prélèvements : faciès"},
    {"PRELEVEMENTS.GROUPE", "Prélèvements : groupe"},
    {"PRELEVEMENTS.HAUTEUR", "Prélèvements : hauteur d'eau"},
    {"PRELEVEMENTS.MATERIELS", "Prélèvements : matériel"},
    {"PRELEVEMENTS.OMBRAGE", "Prélèvements : ombrage"},
    {"PRELEVEMENTS.PHASE", "Prélèvements : phase"},
    {"PRELEVEMENTS.SAISONNALITES", "Prélèvements : saisonnalité"},
    {"PRELEVEMENTS.TYPECOLMATAGE", "Prélèvements : type de colmatage"},
    {"PRELEVEMENTS.VITESSE", "Prélèvements : vitesse du courant"},
    {"PRELEVEMENTS.VITESSE.DIATOMEES", "Prélèvements : vitesse du courant (diatomées)"},
    {"PRELEVEMENTS.VITESSE.INVERTEBRES", "Prélèvements : vitesse du courant (invertébrés)"},
    {"PRELEVEMENTS.VITESSE.MACROPHYTES", "Prélèvements : vitesse du courant (macrophytes)"},
    {"PRELEVEMENTS.ZONE.VERTICALE", "Prélèvements : zone verticale"},
    {"QUALITOMETRES.CODEETAT", "Qualitomètres : état"},
    {"QUALITOMETRES.CODEQUALITE", "Qualitomètres : qualité"},
    {"QUALITOMETRES.CODEREPRESENTATIVITE", "Qualitomètres : représentativité"},
    {"QUALITOMETRES.CONTEXTEPISCICOLE", "Qualitomètres : contexte piscicole"},
    {"QUALITOMETRES.HER1", "Qualitomètres : hydroécorégion de niveau 1"},
    {"QUALITOMETRES.HER2", "Qualitomètres : hydroécorégion de niveau 2"},
    {"QUALITOMETRES.MODE_CONSERVATION", "Qualitomètres : mode de conservation"},
    {"QUALITOMETRES.RANG_STRAHLER", "Qualitomètres : rang de Strahler"},
    {"QUALITOMETRES.SITUATION_PARTICULIERE", "Qualitomètres : situation particulière"},
    {"QUALITOMETRES.TYPE", "Qualitomètres : type"},
    {"QUALITOMETRES.TYPE_FR.PLAN", "Qualitomètres : type national de plan d'eau"},
    {"QUALITOMETRES.TYPE_FR.RIVIERE", "Qualitomètres : type national de cours d'eau"},
    {"REPERES.ORIGINE", "Repères : origine"},
    {"RESEAUX", "Réseaux"},
    {"SEUILS", "Seuils : listes de seuils"},
    {"SEUILS.ETATS", "Seuils : états"},
    {"SEUILS.RESULTATS", "Seuils : résultats"},
    {"SEUILS.TAXONS", "Seuils : taxons"},
    {"SUBSTRATS", "Substrats"},
    {"SUPPORTS", "Supports"},
    {"SYSTEME_ALTIMETRIQUE.CODENATURE", "Système altimétrique : nature"},
    {"SYSTEME_ALTIMETRIQUE.MODEOBTENTION", "Système altimétrique : mode d'obtention"},
    {"SYSTEME_ALTIMETRIQUE.SYSTEMEALTIMETRIQUE", "Système altimétrique : système"},
    {"TAXONS", "Taxons"},
    {"TAXONS.DEVELOPPEMENT", "Taxons : stade de développement"},
    {"TAXONS.GROUPE", "Taxons : groupe"},
    {"TAXONS.NIVEAUX", "Taxons : niveau taxonomique"},
    {"TAXONS.THEME", "Taxons : thème"},
    {"TYPE_LITHOLOGIQUE.CODETYPELITHOLOGIQUE", "Type lithologique"},
    {"UNITES", "Unités"},
    {"USAGES", "Usages"},
};
// clang-format on

} // namespace

QString libelleCleListe(const QString &cle)
{
    const QString c = cle.trimmed().toUpper();
    for (const CleListe &l : CLES)
        if (c == QLatin1String(l.cle)) return QString::fromUtf8(l.libelle);
    static const QString PARAMETRE = QStringLiteral("PARAMETRE.");
    if (c.startsWith(PARAMETRE) && c.size() > PARAMETRE.size())
        return QStringLiteral("Valeurs du paramètre ") + c.mid(PARAMETRE.size());
    return {};
}

EntreesCodees entreesClesListes(const QStringList &cles)
{
    EntreesCodees entrees;
    entrees.reserve(cles.size());
    for (const QString &cle : cles) {
        const QString libelle = libelleCleListe(cle);
        entrees.append({cle, libelle.isEmpty() ? cle : libelle, 0});
    }
    return entrees;
}

} // namespace vyk
