// The satellite grids of the station card, as data.

#include "monitoring/GrillesSatellites.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

namespace vyk {

namespace {

using N = NatureChamp;

ColonneGrille colonne(const char *nom, const char *titre, N nature)
{
    ColonneGrille c;
    c.colonne = QString::fromLatin1(nom);
    c.libelle = QString::fromUtf8(titre);
    c.nature = nature;
    return c;
}
ColonneGrille obligatoire(ColonneGrille c, const char *sujet)
{
    c.obligatoire = true;
    c.sujet = QString::fromUtf8(sujet);
    return c;
}
ColonneGrille texte(const char *nom, const char *titre)
{
    return colonne(nom, titre, N::Texte);
}
ColonneGrille nombre(const char *nom, const char *titre, const char *sujet = nullptr)
{
    const ColonneGrille c = colonne(nom, titre, N::Nombre);
    return sujet ? obligatoire(c, sujet) : c;
}
ColonneGrille code(const char *nom, const char *titre, const QString &liste,
                   const char *sujet = nullptr)
{
    ColonneGrille c = colonne(nom, titre, N::Code);
    c.liste = liste;
    return sujet ? obligatoire(c, sujet) : c;
}
ColonneGrille date(const char *nom, const char *titre, const char *sujet, bool requise,
                   N nature = N::Date)
{
    ColonneGrille c = colonne(nom, titre, nature);
    c.obligatoire = requise;
    c.sujet = QString::fromUtf8(sujet);
    return c;
}
ColonneGrille debut()
{
    return date("DateDebut", "Début", "La date de début", true);
}
ColonneGrille fin()
{
    return date("DateFin", "Fin", "La date de fin", false);
}
ColonneGrille caseACocher(const char *nom, const char *titre)
{
    return colonne(nom, titre, N::OuiNon);
}
ColonneGrille cle(ColonneGrille c)
{
    c.cle = true;
    return c;
}
ColonneGrille automatique(ColonneGrille c)
{
    c.cle = true;
    c.automatique = true;
    return c;
}

DefinitionGrille grille(const char *nom, const char *table, const char *suffixe,
                        const char *journal, const char *quoi, QVector<ColonneGrille> colonnes,
                        const char *ordre = "DateDebut")
{
    DefinitionGrille g;
    g.nom = QString::fromLatin1(nom);
    g.table = QString::fromLatin1(table);
    g.suffixe = QString::fromUtf8(suffixe);
    g.journal = QString::fromUtf8(journal);
    g.quoi = QString::fromUtf8(quoi);
    g.colonnes = std::move(colonnes);
    g.ordre = QString::fromLatin1(ordre);
    g.message = messageSatellite;
    g.verification = OrdreVerification::DatesDabord;
    return g;
}

const QString RESEAUX = QStringLiteral("SELECT Libelle, CodeReseau FROM RESEAUX ORDER BY Libelle");
const QString INTERVENANTS =
    QStringLiteral("SELECT Nom, CodeIntervenant FROM INTERVENANTS ORDER BY Nom");
const QString AQUIFERES =
    QStringLiteral("SELECT libelle, CodeAquifere FROM AQUIFERES ORDER BY libelle");
const QString ETATS =
    QStringLiteral("SELECT Libelle, CodeEtat FROM ETATS ORDER BY OrdreEtat, Libelle");

// Built when the entries are read: the commune join depends on the engine.
const QString CONTACTS = QStringLiteral("@contacts");
QString requeteContacts()
{
    return QStringLiteral(
               "SELECT iif(Contacts.Nom is null, iif(Contacts.RaisonSocial is null, Communes.Nom, "
               "Contacts.RaisonSocial), "
               "Contacts.Nom), Contacts.CodeContact FROM Contacts LEFT JOIN Communes ON ") +
           conditionCodeCommune(QStringLiteral("Contacts.CodeCommune"),
                                QStringLiteral("Communes.CodeCommune")) +
           QStringLiteral(" ORDER BY 1");
}

QVector<DefinitionGrille> definitions()
{
    QVector<DefinitionGrille> r;
    r << grille("reseaux", "LIEN_QUALITO_RESEAUX", " des réseaux", "", "le réseau sélectionné",
                {cle(code("CodeReseau", "Réseau", RESEAUX, "Sélectionnez un réseau")), cle(debut()),
                 fin()});
    r << grille("intervenants", "LIEN_QUALITO_INTERVENANTS", " des intervenants",
                "Enregistrement des intervenants pour ", "l'intervenant sélectionné",
                {cle(code("CodeIntervenant", "Intervenant", INTERVENANTS)),
                 code("TypeIntervenant", "Rôle",
                      QStringLiteral("LIEN_QUALITO_INTERVENANTS.TYPEINTERVENANT")),
                 cle(debut()), fin(), texte("ReferenceInterne", "Référence interne"),
                 code("codeContact", "Contact", CONTACTS)});
    r << grille(
        "lithologies", "LIEN_QUALITO_LITHOLOGIES", " des lithologies",
        "Enregistrement des lithologies pour ", "la lithologie sélectionnée",
        {cle(code("codeLithologie", "Lithologie", QStringLiteral("LITHOLOGIE.CODE_LITHOLOGIE"),
                  "Sélectionnez une lithologie")),
         cle(nombre("Ordre", "Ordre", "Indiquez un ordre")), nombre("epaisseur", "Épaisseur")},
        "Ordre");
    r << grille("typesLithologiques", "LIEN_QUALITO_TYPE_LITHOLOGIQUE", " des types lithologiques",
                "", "le type lithologique sélectionné",
                {cle(code("codeTypeLithologique", "Type lithologique",
                          QStringLiteral("TYPE_LITHOLOGIQUE.CODETYPELITHOLOGIQUE"),
                          "Sélectionnez un type lithologique"))},
                "codeTypeLithologique");
    r << grille("modesMesures", "MODES_MESURES_QUALITO", " des modes de mesures",
                "Enregistrement des modes de mesures pour ", "le mode de mesure sélectionné",
                {cle(debut()), fin(),
                 cle(code("Methode", "Méthode", QStringLiteral("MODES_MESURES.METHODE"))),
                 code("Periodicite", "Périodicité", QStringLiteral("MODES_MESURES.PERIODICITE")),
                 nombre("profondeurNappe", "Profondeur de la nappe"),
                 nombre("compensationMesure", "Compensation"),
                 texte("Commentaires", "Commentaires")});
    r << grille("systemesAltimetriques", "SYSTEMES_ALTIMETRIQUES_QUALITO",
                " des systèmes altimétriques", "Enregistrement des systèmes altimétriques pour ",
                "le système altimétrique sélectionné",
                {cle(debut()), fin(), nombre("Altitude", "Altitude"),
                 cle(code("SystemeAltimetrique", "Origine",
                          QStringLiteral("SYSTEME_ALTIMETRIQUE.SYSTEMEALTIMETRIQUE"),
                          "Sélectionnez une origine")),
                 code("CodeNature", "Nature", QStringLiteral("SYSTEME_ALTIMETRIQUE.CODENATURE")),
                 code("ModeObtention", "Mode d'obtention",
                      QStringLiteral("SYSTEME_ALTIMETRIQUE.MODEOBTENTION")),
                 texte("Commentaire", "Commentaire")});
    r << grille("reperes", "REPERES_QUALITO", " des repères", "Enregistrement des repères pour ",
                "le repère sélectionné",
                {cle(debut()), fin(), nombre("Hauteur", "Hauteur"),
                 cle(code("Origine", "Origine", QStringLiteral("REPERES.ORIGINE"))),
                 texte("Commentaires", "Commentaires")});
    r << grille(
        "localisations", "QUALITOMETRE_LOCALISATIONS", " des localisations",
        "Enregistrement des localisations pour ", "la localisation sélectionnée",
        {cle(code("CodeProjection", "Projection", QStringLiteral("PIEZOMETRES.TYPEPROJECTION"),
                  "Sélectionnez une projection")),
         nombre("X", "X"), nombre("Y", "Y"), nombre("Z", "Z"), nombre("Precision", "Précision")},
        "CodeProjection");
    r << grille("documents", "QUALITOMETRE_DOCUMENTS", " des documents", "",
                "le document sélectionné",
                {automatique(nombre("CodeDocument", "Num")), texte("Titre", "Titre"),
                 texte("MotCle", "Mot clé"), texte("Emplacement", "Emplacement")},
                "CodeDocument");
    {
        DefinitionGrille photos = grille(
            "photos", "QUALITOMETRE_PHOTO", " des photos", "", "la photo",
            {texte("PhotoSite", "Photo du site"), texte("PhotoRepere", "Photo du repère"),
             texte("PhotoCarte", "Carte"), texte("stationAmont", "Station amont"),
             texte("stationAval", "Station aval"), texte("coupe", "Coupe"),
             texte("PhotoP1", "Photo 1"), texte("PhotoP2", "Photo 2"), texte("PhotoP3", "Photo 3"),
             texte("PhotoP4", "Photo 4"), texte("PhotoP5", "Photo 5")},
            "");
        photos.ligneUnique = true;
        photos.messageLongueur = QStringLiteral("Impossible d'enregistrer le chemin de la photo. "
                                                "Le chemin ne doit pas dépasser 255 caractères.");
        photos.genreMessageLongueur = GENRE_ERREUR;
        r << photos;
    }
    {
        const ColonneGrille annee = date("DateDebut", "Année", "L'année", true, N::Annee);
        r << grille("etats", "LIEN_QUALITO_ETATS", " des états", "", "l'état sélectionné",
                    {cle(annee),
                     cle(code("CodeEtat", "Type d'état", ETATS, "Sélectionnez un type d'état")),
                     code("valeur", "Valeur", QStringLiteral("ETATS.VALEURS")),
                     texte("commentaire", "Commentaire")},
                    "DateDebut DESC, CodeEtat");
    }
    r << grille("fonctions", "LIEN_QUALITO_FONCTIONS", " des fonctions",
                "Enregistrement des fonctions pour ", "la fonction sélectionnée",
                {cle(debut()), fin(),
                 cle(code("CodeFonction", "Fonction", QStringLiteral("FONCTIONS"))),
                 texte("Description", "Description")});
    r << grille("usages", "LIEN_QUALITO_USAGES", " des usages", "Enregistrement des usages pour ",
                "l'usage sélectionné",
                {cle(debut()), fin(), cle(code("CodeUsage", "Usage", QStringLiteral("USAGES"))),
                 texte("Description", "Description")});
    r << grille(
        "amenagements", "LIEN_QUALITO_AMENAGEMENTS", " des aménagements",
        "Enregistrement des aménagements pour ", "l'aménagement sélectionné",
        {cle(debut()), fin(),
         cle(code("typeAmenagement", "Type", QStringLiteral("AMENAGEMENT.TYPE_AMENAGEMENT"))),
         nombre("valeur", "Valeur"), texte("Description", "Description")});
    r << grille(
        "accessibilites", "LIEN_QUALITO_ACCESSIBILITES", " des accessibilités",
        "Enregistrement des accessibilités pour ", "l'accessibilité sélectionnée",
        {cle(debut()), fin(),
         cle(code("CodeCondition", "Condition", QStringLiteral("ACCESSIBILITES.TYPE_CONDITION"))),
         code("CodeFermeture", "Fermeture", QStringLiteral("ACCESSIBILITES.TYPE_FERMETURE")),
         texte("Description", "Description")});
    r << grille("crepines", "CREPINES_QUALITO", " des crépines",
                "Enregistrement des crépines pour ", "la crépine sélectionnée",
                {cle(nombre("Ordre", "Ordre")), nombre("ProfondeurDebut", "Profondeur de début"),
                 nombre("profondeurFin", "Profondeur de fin"),
                 code("codeAquifere", "Aquifère", AQUIFERES),
                 nombre("toitAquifere", "Toit de l'aquifère"),
                 nombre("fondAquifere", "Fond de l'aquifère")},
                "Ordre");
    {
        DefinitionGrille ouvrage = grille(
            "ouvrage", "OUVRAGES_QUALITO", " de la description d'ouvrage",
            "Enregistrement de la description d'ouvrage pour ", "la description d'ouvrage",
            {texte("TypeStation", "Type de station"), texte("TypeCapteur", "Type de capteur"),
             texte("TelephoneStation", "Téléphone de la station"),
             nombre("ProfondeurOuvrage", "Profondeur de l'ouvrage"),
             nombre("profondeurCapteur", "Profondeur du capteur"),
             texte("numSerie", "Numéro de série"), texte("diametreInterieur", "Diamètre intérieur"),
             texte("diametreExterieur", "Diamètre extérieur"),
             texte("commentaires", "Commentaires")},
            "");
        ouvrage.ligneUnique = true;
        r << ouvrage;
    }
    {
        ColonneGrille typeTournee = code("type", "Tournée", {});
        typeTournee.entreesFixes = {{QStringLiteral("G"), QStringLiteral("Gestion")},
                                    {QStringLiteral("M"), QStringLiteral("Maintenance")}};
        const ColonneGrille heure = date("heureEvenement", "Heure", "L'heure", false, N::Heure);
        DefinitionGrille interventions = grille(
            "interventions", "EVENEMENTS_QUALITO", " des interventions",
            "Enregistrement des événements pour ", "l'intervention sélectionnée",
            {automatique(nombre("Numero", "Num")), date("DateEvenement", "Date", "La date", true),
             heure, typeTournee, texte("probleme", "Problème"), texte("solution", "Solution"),
             texte("Commentaires", "Commentaires"), code("codeContact", "Référent", CONTACTS),
             nombre("Volt", "Volt"), nombre("ns", "NS"), nombre("valeurCalee", "Calage"),
             nombre("temperatureSonde", "Temp sonde"),
             nombre("temperatureCentrale", "Temp centrale"), caseACocher("ChgtPiles", "Piles"),
             caseACocher("razStation", "RAZ"), caseACocher("Graphique", "Graphique"),
             caseACocher("exportBanque", "Export Banque")},
            "DateEvenement DESC, Numero");
        interventions.colonneDistincte = QStringLiteral("DateEvenement");
        interventions.messageDoublons =
            QStringLiteral("Il existe des doublons de date pour les interventions sur ce "
                           "qualitomètre. Merci de les corriger.");
        r << interventions;
    }
    return r;
}

DefinitionSauvegarde sauvegarde(const char *nom, QStringList grilles, const char *fin,
                                bool sansAccent = false,
                                RegleSauvegarde regle = RegleSauvegarde::Aucune)
{
    return {QString::fromLatin1(nom), std::move(grilles), QString::fromUtf8(fin),
            sansAccent ? texteGrilles::PARENT_ABSENT_QUALITO_SANS_ACCENT
                       : texteGrilles::PARENT_ABSENT_QUALITO,
            regle};
}

} // namespace

const QVector<DefinitionGrille> &grillesQualitometre()
{
    static const QVector<DefinitionGrille> grilles = definitions();
    return grilles;
}

const DefinitionGrille *grilleQualitometre(const QString &nom)
{
    for (const DefinitionGrille &g : grillesQualitometre())
        if (g.nom == nom) return &g;
    return nullptr;
}

const QVector<DefinitionSauvegarde> &sauvegardesQualitometre()
{
    static const QVector<DefinitionSauvegarde> sauvegardes = {
        sauvegarde("reseaux", {QStringLiteral("reseaux")}, "Enregistrement des réseaux terminé."),
        sauvegarde("intervenants", {QStringLiteral("intervenants")},
                   "Enregistrement des intervenants terminé."),
        sauvegarde("lithologies",
                   {QStringLiteral("lithologies"), QStringLiteral("typesLithologiques")},
                   "Enregistrement des Lithologies terminé."),
        sauvegarde("modesMesures", {QStringLiteral("modesMesures")},
                   "Enregistrement des modes mesures terminé."),
        sauvegarde("altimetrie",
                   {QStringLiteral("systemesAltimetriques"), QStringLiteral("reperes")},
                   "Enregistrement des systèmes altimétriques et des repères terminé.", false,
                   RegleSauvegarde::Altimetrie),
        sauvegarde("localisations", {QStringLiteral("localisations")},
                   "Enregistrement des localisations terminé."),
        sauvegarde("documents", {QStringLiteral("documents")},
                   "Enregistrement des documents terminé."),
        sauvegarde("photos", {QStringLiteral("photos")}, "Enregistrement des photos terminé."),
        sauvegarde("etats", {QStringLiteral("etats")}, "Enregistrement des états terminé."),
        sauvegarde("fonctions", {QStringLiteral("fonctions")},
                   "Enregistrement des fonctions terminé.", true),
        sauvegarde("usages", {QStringLiteral("usages")}, "Enregistrement des usages terminé.",
                   true),
        sauvegarde("amenagements", {QStringLiteral("amenagements")},
                   "Enregistrement des aménagements terminé.", true),
        sauvegarde("accessibilites", {QStringLiteral("accessibilites")},
                   "Enregistrement des accessibilités terminé.", true),
        sauvegarde("crepines", {QStringLiteral("crepines")},
                   "Enregistrement des crépines terminé."),
        sauvegarde("ouvrage", {QStringLiteral("ouvrage")},
                   "Enregistrement des caractérisations de l'ouvrage terminé."),
        sauvegarde("interventions", {QStringLiteral("interventions")},
                   "Enregistrement des interventions terminé.", false,
                   RegleSauvegarde::Interventions),
    };
    return sauvegardes;
}

const DefinitionSauvegarde *sauvegardeQualitometre(const QString &nom)
{
    for (const DefinitionSauvegarde &s : sauvegardesQualitometre())
        if (s.nom == nom) return &s;
    return nullptr;
}

EntreesCodees GrilleSatellite::entrees(const ColonneGrille &colonne)
{
    if (!colonne.entreesFixes.isEmpty()) return colonne.entreesFixes;
    if (colonne.liste == CONTACTS) return entreesRequete(requeteContacts());
    return entreesListeCodee(colonne.liste);
}

} // namespace vyk
