#include "ui/app/ConsultationJournal.h"
#include "db/Sql.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

using namespace vyk;
using namespace vyk::test;

namespace {

class ConsultationJournalTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(executer(QStringLiteral("DELETE FROM JOURNAL"))); // the creation's own entries
        const QDateTime maintenant(QDate::currentDate(), QTime(10, 30, 0));
        ajouter(maintenant.addDays(-40), QStringLiteral("Login"), QStringLiteral("marie"), {});
        ajouter(maintenant.addDays(-2), QStringLiteral("Import"), QStringLiteral("paul"),
                QStringLiteral("3 fichiers"));
        ajouter(maintenant, QStringLiteral("Logout"), QStringLiteral("paul"), {});
    }
    void ajouter(const QDateTime &date, const QString &titre, const QString &utilisateur,
                 const QString &detail)
    {
        ASSERT_TRUE(executer(
            QStringLiteral("INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, ip, projet, "
                           "description) VALUES (") +
            dateSQL(date, true) + QStringLiteral(", '2', ") + sqlTexte(titre) + u',' +
            sqlTexte(utilisateur) + QStringLiteral(", 'poste-1', 'VYK', ") + sqlTexte(detail) +
            u')'));
    }
    static QStringList titres(const ConsultationJournal &e)
    {
        QStringList r;
        for (int l = 0; l < e.SprJournal->nbLignes(); ++l)
            r << e.SprJournal->texte(l, 2) + u'/' + e.SprJournal->texte(l, 3);
        return r;
    }
};

// Newest first, from the date chosen on; the filter narrows without reading again.
TEST_P(ConsultationJournalTest, EntreesRecentesDAbordDepuisUneDate)
{
    ConsultationJournal ecran;
    EXPECT_EQ(titres(ecran), QStringList({"Logout/paul", "Import/paul"}));
    EXPECT_EQ(ecran.SprJournal->ligne(1),
              QStringList({QDate::currentDate().addDays(-2).toString(QStringLiteral("dd/MM/yyyy")) +
                               QStringLiteral(" 10:30:00"),
                           "2", "Import", "paul", "poste-1", "VYK", "3 fichiers"}));
    ecran.DtpDepuis->setDate(QDate::currentDate().addDays(-60));
    EXPECT_EQ(titres(ecran), QStringList({"Logout/paul", "Import/paul", "Login/marie"}));
    ecran.TxtFiltre->setText(QStringLiteral("MARIE"));
    EXPECT_EQ(titres(ecran), QStringList({"Login/marie"}));
    EXPECT_EQ(ecran.LblCompte->text(), QStringLiteral("1 entrée(s) sur 3"));
    EXPECT_TRUE(messages().messages().isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(ConsultationJournalTest);

} // namespace
