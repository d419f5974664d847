#include "ui/widgets/DialogueExport.h"

#include <gtest/gtest.h>

using namespace vyk;

namespace {

TEST(DialogueExportTest, LeFiltreChoisiDonneLExtension)
{
    const QString csv = QStringLiteral("Fichiers CSV (*.csv)");
    const QString xlsx = QStringLiteral("Classeurs Excel (*.xlsx)");
    const QString ods = QStringLiteral("Classeurs OpenDocument (*.ods)");
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste.csv"), csv), QStringLiteral("d/Liste.csv"));
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste.csv"), xlsx),
              QStringLiteral("d/Liste.xlsx"));
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste"), ods), QStringLiteral("d/Liste.ods"));
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste.v2"), csv),
              QStringLiteral("d/Liste.v2.csv"));
    // A name given with a workbook extension keeps it, whatever the filter.
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste.ODS"), xlsx),
              QStringLiteral("d/Liste.ODS"));
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste.xlsx"), csv),
              QStringLiteral("d/Liste.xlsx"));
    EXPECT_EQ(cheminSelonFiltre(QStringLiteral("d/Liste"), QStringLiteral("inconnu")),
              QStringLiteral("d/Liste.csv"));
}

} // namespace
