#include "import/classeurs/GarantiesReferentiels.h"

#include "../DonneesImport.h"

using namespace vyk;

namespace {

class GarantiesReferentielsTest : public test::BaseImport
{
};

// Missing methods are inserted active with every named column filled; a present and inactive
// one becomes active and keeps its own label; a second run changes nothing.
TEST_P(GarantiesReferentielsTest, MethodesAbsentesInsereesPresentesActivees)
{
    executer("DELETE FROM METHODES WHERE Code IN ('707','598','704','726','471')");
    ASSERT_TRUE(executer("INSERT INTO METHODES (Code, Nom, Actif) VALUES ('598', 'Mon libellé', "
                         "'0')"));
    ASSERT_EQ(garantirReferentiels("CEMAGREF"), QString());
    const QString requete =
        "SELECT Code, Nom, Statut, Auteur, LibelleLong, Actif, %1 FROM METHODES WHERE Code IN "
        "('707','598','704','726','471') ORDER BY Code";
    const QString dates = "CASE WHEN DateCreation IS NULL OR DateModification IS NULL THEN 'sans "
                          "date' ELSE 'daté' END";
    const QStringList apres = lignes(QString(requete).arg(dates));
    EXPECT_EQ(apres,
              QStringList({"471|Détermination de l'Indice Biologique Global Adapté "
                           "(IBGA)|2|CEMAGREF|IBGA|1|daté",
                           "598|Mon libellé||||1|sans date",
                           "704|Protocole RCS macroinvertébrés aux grands cours "
                           "d'eau|2|CEMAGREF|MIB RCS grands cours|1|daté",
                           "707|Qualité de l'eau - Prélèvement et traitement au laboratoire des "
                           "macro-invertébrés aquatiques en rivières (XP T90-333 Septembre 2009 "
                           "+ XP T90-388 Juin 2010)|2|CEMAGREF|MIB XP T90-333/388|1|daté",
                           "726|Protocole expérimental d'échantillonnage des macroinvertébrés en "
                           "cours d'eau profond +Qualité de l'eau - Traitement au laboratoire "
                           "d'échantillons contenant des macro-invertebres de cours d'eau (XP "
                           "T90-388 Juin 2010)|2|CEMAGREF|MIB cours d'eau profond|1|daté"}));
    ASSERT_EQ(garantirReferentiels("CEMAGREF"), QString());
    EXPECT_EQ(lignes(QString(requete).arg(dates)), apres);
}

// The macrophyte model guarantees its three methods and eight parameters.
TEST_P(GarantiesReferentielsTest, ParametresMacrophytes)
{
    executer("DELETE FROM ANALYSES_PARAMETRES WHERE Code IN ('1079','1425','1725','2928','5473',"
             "'6350','6498','6499')");
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('1725', "
                         "'Situation hydrologique', '0')"));
    ASSERT_EQ(garantirReferentiels("MACROPHYTES"), QString());
    EXPECT_EQ(lignes("SELECT Code, Statut, LibelleCourt, Actif FROM ANALYSES_PARAMETRES WHERE "
                     "Code IN ('1079','1425','1725','2928','5473','6350','6498','6499') ORDER "
                     "BY Code"),
              QStringList({"1079|2|RecMacro|1", "1425|2|Météo|1", "1725|||1", "2928|2|IBMR|1",
                           "5473|2|VisiFond|1", "6350|2|VarTaxo|1", "6498|2|Turbidite|1",
                           "6499|2|Periphyton|1"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM METHODES WHERE Code IN ('455','875','876') AND "
                     "Actif='1'")
                  .toInt(),
              3);
}

VYK_SUR_LES_DEUX_MOTEURS(GarantiesReferentielsTest);

} // namespace
