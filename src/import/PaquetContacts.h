#pragma once

// The persons (contacts) of an exchange package matched with those of the open database. Persons
// carry no public code and each database numbers them on its own, so a person is the same here
// by name (name and company name, case and spacing aside) when the mail addresses do not
// disagree; a person with neither name nor address by every other column. The others are
// created. Every person column of the rows written is then rewritten through that mapping.

#include "import/PaquetIntervenants.h"

namespace vyk::paquet {

class CorrespondanceContacts : public Renumerotation
{
  public:
    CorrespondanceContacts() : Renumerotation(QStringLiteral("CONTACTS")) {}

    // Reads the package's persons and creates in the open database those it lacks (inside the
    // caller's transaction). `crees` receives, for each one created, its name, else its company
    // name, else its address, else its number in the package. "" or the failure.
    QString etablir(BaseDonnees &paquet, Colonnes &colonnes, QStringList &crees);
};

} // namespace vyk::paquet
