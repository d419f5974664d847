#pragma once

// Creates catalogue tables by name in the test database: faster than a full upgrade for tests
// that need a few tables only.

#include "db/BaseDonnees.h"
#include "schema/Catalogue.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace vyk::test {

inline void creerTablesCatalogue(std::initializer_list<const char *> noms)
{
    for (const char *nom : noms) {
        const DefinitionTable *t = definitionTable(QString::fromLatin1(nom));
        ASSERT_NE(t, nullptr) << nom;
        ASSERT_TRUE(bd().Execute(sqlCreationTable(*t)))
            << nom << ": " << qPrintable(bd().derniereErreur());
    }
}

// The tables of stations, samples, operations and the analysis referentials.
inline void creerTablesQualite()
{
    creerTablesCatalogue({"QUALITOMETRES",
                          "QUALITOMETRES_POINTS",
                          "QUALITOMETRES_POINTS_OPERATIONS",
                          "QUALITOMETRES_POINTS_OPERATIONS_ENV",
                          "QUALITOMETRES_OPERATIONS_RESULTATS",
                          "PRELEVEMENTS",
                          "PRELEVEMENTS_ECHANTILLONS",
                          "PRELEVEMENTS_DOSSIERS",
                          "PRELEVEMENTS_FINALITES",
                          "FINALITES",
                          "ANALYSES_PARAMETRES",
                          "ANALYSES_UNITES",
                          "METHODES",
                          "ANALYSES_FRACTIONS",
                          "ANALYSES_SUPPORTS",
                          "ANALYSES_PARAMETRES_SELECTIONS",
                          "ANALYSES_SEUILS",
                          "COURBES_REFERENCES_QUALITO",
                          "COURBES_REFERENCES_QUALITO_PARAM",
                          "QUALITOMETRES_SUPERPOSITIONS_PARAMETRES",
                          "CODES_SANDRE",
                          "INTERVENANTS",
                          "JOURNAL"});
}

} // namespace vyk::test
