#pragma once

// The organisations an import names (producer, laboratory, sampler): found by SIRET number or
// SANDRE code, then as the organisation's own number, then by name; a missing one is created
// after the user's answers ("Voulez vous intégrer automatiquement tous les intervenants
// manquants ?" once, then one question per code, a No stopping the run). Codes met are
// remembered for the run.

#include "import/IntegrationAnalyses.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace vyk {

class ResolutionIntervenants
{
  public:
    // creerSansDemander: missing organisations created without asking; set when the user says
    // Yes to every one. crees receives the codes read of the organisations created, in order.
    ResolutionIntervenants(bool &creerSansDemander, const ReponsesIntegration &reponses,
                           QStringList &crees);

    // The organisation's CodeIntervenant in `code` (a cleaned empty code takes `defaut`, null
    // when that is empty too). `origine` "1" or empty: a SIRET number; anything else: a SANDRE
    // code. False with the reason; arret() then tells the user refused.
    bool resoudre(const QString &codeLu, const QString &origine, const QString &defaut,
                  QVariant &code, QString &raison);
    bool arret() const { return m_arret; }
    // Another workstation may have written since: the largest code is read again.
    void oublierMaximum() { m_max.reset(); }

  private:
    QVariant existant(const QString &code, bool siret);
    bool creer(const QString &code, bool siret, QVariant &cree, QString &raison);

    bool &m_creerSansDemander;
    const ReponsesIntegration &m_reponses;
    QStringList &m_crees;
    QHash<QString, QVariant> m_connus; // code|scheme -> organisation code
    std::optional<qint64> m_max;
    bool m_arret = false;
};

} // namespace vyk
