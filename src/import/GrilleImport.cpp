#include "import/GrilleImport.h"

namespace vyk {

const QStringList &nomsColonnesImport()
{
    static const QStringList noms = {
        QStringLiteral("Code_Station"),
        QStringLiteral("Type_Qualito"),
        QStringLiteral("Date_Prelvt"),
        QStringLiteral("Numero_Analyse"),
        QStringLiteral("Code_Producteur"),
        QStringLiteral("Origine_Interv"),
        QStringLiteral("Code_Param"),
        QStringLiteral("Resultat"),
        QStringLiteral("Code_unite"),
        QStringLiteral("Remarque_Analyse"),
        QStringLiteral("Code_Labo"),
        QStringLiteral("Origine_Labo"),
        QStringLiteral("Reference_Labo"),
        QStringLiteral("Date_Analyse"),
        QStringLiteral("Lieu_Analyse"),
        QStringLiteral("Resultat_Reference"),
        QStringLiteral("Reference"),
        QStringLiteral("Difficulte"),
        QStringLiteral("Qualification"),
        QStringLiteral("Code_Methode"),
        QStringLiteral("Code_Fraction"),
        QStringLiteral("Code_support"),
        QStringLiteral("Statut_mesure"),
        QStringLiteral("Comment_Analyse"),
        QStringLiteral("Comment_Result"),
        QStringLiteral("Reference_Ech"),
        QStringLiteral("Code_Producteur_Ech"),
        QStringLiteral("Origine_Producteur_Ech"),
        QStringLiteral("Code_Meth_Fr"),
        QStringLiteral("Prof_Deb"),
        QStringLiteral("Prof_Fin"),
        QStringLiteral("Limite_quantification"),
        QStringLiteral("Limite_detection"),
        QStringLiteral("Seuil_saturation"),
        QStringLiteral("Accreditation_resultat"),
        QStringLiteral("Incertitude_analytique"),
        QStringLiteral("Code_param_solvant"),
        QStringLiteral("Code_meth_extraction"),
        QStringLiteral("Rendement_extraction"),
        QStringLiteral("Volume_filtre"),
        QStringLiteral("Localisation précise"),
        QStringLiteral("Commentaire opération"),
    };
    return noms;
}

QStringList &GrilleImport::ajouterLigne(const QString &origine)
{
    return ajouterLigne(QStringList(NB_COLONNES_IMPORT), origine);
}

QStringList &GrilleImport::ajouterLigne(QStringList ligne, const QString &origine)
{
    lignes.append(std::move(ligne));
    if (!origine.isEmpty() || !origines.isEmpty()) {
        while (origines.size() < lignes.size() - 1)
            origines.append(QString());
        origines.append(origine);
    }
    return lignes.last();
}

QString GrilleImport::valeur(int ligne, ColonneImport c) const
{
    const QStringList &l = lignes.at(ligne);
    const int i = int(c);
    return i < l.size() ? l.at(i) : QString();
}

void GrilleImport::vider()
{
    lignes.clear();
    origines.clear();
}

} // namespace vyk
