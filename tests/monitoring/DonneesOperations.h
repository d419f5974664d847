#pragma once

// Stations, points, operations and samples written straight into the test database.

#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <ostream>

namespace vyk::test {

class BaseOperations : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    void station(qint64 code, const QString &codeBSS,
                 const QString &creation = QStringLiteral("01/01/2000"))
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, "
                                            "Nom, DateCreation) VALUES (") +
                             QString::number(code) + QStringLiteral(", ") + sqlTexte(codeBSS) +
                             QStringLiteral(", 'Station ") + QString::number(code) +
                             QStringLiteral("', ") + dateSQL(creation) + u')'));
    }

    void point(qint64 station, qint64 code, const QString &identifiant, const QString &debut = {},
               const QString &fin = {})
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, "
                                            "codePoint, identifiant, dateDebut, "
                                            "dateFin) VALUES (") +
                             QString::number(station) + QStringLiteral(", ") +
                             QString::number(code) + QStringLiteral(", ") + sqlTexte(identifiant) +
                             QStringLiteral(", ") + dateSQL(debut) + QStringLiteral(", ") +
                             dateSQL(fin) + u')'));
    }

    void operation(qint64 station, qint64 code, qint64 point, const QString &date)
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                            "(codeQualitometre, codeOperation, codePoint, "
                                            "dateDebut) VALUES (") +
                             QString::number(station) + QStringLiteral(", ") +
                             QString::number(code) + QStringLiteral(", ") + QString::number(point) +
                             QStringLiteral(", ") + dateSQL(date) + u')'));
    }

    // A sample of the operation with two analyses in the station's analysis table.
    void echantillon(qint64 station, const QString &codeBSS, qint64 operation, qint64 numero)
    {
        if (!bd().tableExiste(PREFIXE_ANALYSES + codeBSS)) {
            ASSERT_TRUE(executer(sqlCreationTableAnalyses(codeBSS)));
        }
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                            "CodeQualitometre, codeOperation) VALUES (") +
                             QString::number(numero) + QStringLiteral(", ") +
                             QString::number(station) + QStringLiteral(", ") +
                             QString::number(operation) + u')'));
        for (int a = 1; a <= 2; ++a)
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_") + codeBSS +
                                 QStringLiteral(" (NumAnalyse, NumPrelevement, CodeQualitometre, "
                                                "CodeParametre, CodeQualification, "
                                                "StatutMesure) VALUES (") +
                                 QString::number(a) + QStringLiteral(", ") +
                                 QString::number(numero) + QStringLiteral(", ") +
                                 QString::number(station) + QStringLiteral(", '1340', '4', '1')")));
    }
};

} // namespace vyk::test
