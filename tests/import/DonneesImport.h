#pragma once

// An upgraded test database and import tables written by hand, row by row.

#include "db/BaseDonnees.h"
#include "import/GrilleImport.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <initializer_list>
#include <utility>

namespace vyk::test {

class BaseImport : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    // A row of the import table: station key, sample date, parameter, result, unit, then any
    // other column.
    static void ligne(GrilleImport &g, const QString &station, const QString &date,
                      const QString &parametre, const QString &resultat,
                      const QString &unite = QStringLiteral("162"),
                      std::initializer_list<std::pair<ColonneImport, QString>> autres = {})
    {
        QStringList &l =
            g.ajouterLigne(QStringLiteral("ligne ") + QString::number(g.nombreLignes() + 2));
        l[int(ColonneImport::CodeStation)] = station;
        l[int(ColonneImport::DatePrelvt)] = date;
        l[int(ColonneImport::CodeParam)] = parametre;
        l[int(ColonneImport::Resultat)] = resultat;
        l[int(ColonneImport::CodeUnite)] = unite;
        for (const auto &[c, v] : autres)
            l[int(c)] = v;
    }

    void station(qint64 code, const QString &codeBSS, const QString &designation = {})
    {
        ASSERT_TRUE(
            executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, "
                                    "Designation) VALUES (%1, '%2', %3)")
                         .arg(code)
                         .arg(codeBSS, designation.isEmpty() ? QStringLiteral("NULL")
                                                             : u'\'' + designation + u'\'')));
    }

    // Rows of every table an import writes, to compare before and after.
    QStringList etat(const QStringList &tablesAnalyses = {})
    {
        QStringList r;
        for (const QString &t :
             {QStringLiteral("QUALITOMETRES"), QStringLiteral("QUALITOMETRES_POINTS"),
              QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"), QStringLiteral("PRELEVEMENTS"),
              QStringLiteral("PRELEVEMENTS_ECHANTILLONS"), QStringLiteral("INTERVENANTS"),
              QStringLiteral("ANALYSES_PARAMETRES"), QStringLiteral("ANALYSES_UNITES")})
            r << t + QStringLiteral(": ") + triees(t).join(u';');
        for (const QString &t : tablesAnalyses)
            r << t + QStringLiteral(": ") +
                     (bd().tableExiste(t) ? triees(t).join(u';') : QStringLiteral("absente"));
        return r;
    }

    QStringList triees(const QString &table)
    {
        QStringList l = lignes(QStringLiteral("SELECT * FROM ") + table);
        l.sort();
        return l;
    }
};

} // namespace vyk::test
