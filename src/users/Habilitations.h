#pragma once

// Rights of the logged-in user (session()). Every command shown or refused after a right goes
// through estHabilite, so that an administrator passes every test.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// Rights of this module.
namespace droit {
inline const QString QUALITO_ALL = QStringLiteral("QUALITO_ALL");
inline const QString QUALITO_FORBIDEN = QStringLiteral("QUALITO_FORBIDEN");
inline const QString QUALITO_NETWORK_ = QStringLiteral("QUALITO_NETWORK_"); // + network code
inline const QString QUALITO_IMPORT = QStringLiteral("QUALITO_IMPORT");
inline const QString QUALITO_BANCARISATION = QStringLiteral("QUALITO_BANCARISATION");
inline const QString QUALITO_EXPORT = QStringLiteral("QUALITO_EXPORT");
inline const QString QUALITO_RAPPORT = QStringLiteral("QUALITO_RAPPORT");
inline const QString QUALITO_COURBES_REF = QStringLiteral("QUALITO_COURBES_REF");
inline const QString QUALITO_FICHE_MODIF = QStringLiteral("QUALITO_FICHE_MODIF");
inline const QString QUALITO_FICHE_SUPPR = QStringLiteral("QUALITO_FICHE_SUPPR");
inline const QString QUALITO_FICHE_EDITION = QStringLiteral("QUALITO_FICHE_EDITION");
inline const QString QUALITO_FICHE_EVENEMENT = QStringLiteral("QUALITO_FICHE_EVENEMENT");
inline const QString QUALITO_DATA_CONSULT = QStringLiteral("QUALITO_DATA_CONSULT");
inline const QString QUALITO_DATA_MODIF = QStringLiteral("QUALITO_DATA_MODIF");
inline const QString QUALITO_VALIDATION = QStringLiteral("QUALITO_VALIDATION");
inline const QString QUALITO_BULLETINS = QStringLiteral("QUALITO_BULLETINS");
inline const QString QUALITO_DEMANDES = QStringLiteral("QUALITO_DEMANDES");
inline const QString QUALITO_RECHERCHES = QStringLiteral("QUALITO_RECHERCHES");
inline const QString QUALITO_PRESELECTION = QStringLiteral("QUALITO_PRESELECTION");
inline const QString QUALITO_SEUILS = QStringLiteral("QUALITO_SEUILS");
inline const QString QUALITO_SITUATIONS = QStringLiteral("QUALITO_SITUATIONS");
inline const QString QUALITO_JOURNAUX = QStringLiteral("QUALITO_JOURNAUX");
inline const QString QUALITO_SUPERPOSITION = QStringLiteral("QUALITO_SUPERPOSITION");
inline const QString QUALITO_RESEAUX = QStringLiteral("QUALITO_RESEAUX");
// Shared by every module of the suite.
inline const QString ADMIN_USER = QStringLiteral("ADMIN_USER");
inline const QString CARTO_QUALITO = QStringLiteral("CARTO_QUALITO");
inline const QString CARTO_QUALITO_SIT = QStringLiteral("CARTO_QUALITO_SIT");
inline const QString CARTO_QUALITO_HTML = QStringLiteral("CARTO_QUALITO_HTML");
// Any equipment right.
inline const QString MAT_TOUS = QStringLiteral("MAT_*");
} // namespace droit

// True when the user is an administrator or holds the right (a "*" makes a prefix test).
bool estHabilite(const QString &droit);
// The rights text alone: ",RIGHT," is in it; with a "*", the "*" is removed and ",PREFIX" must
// be in it (so "MAT_*" is any equipment right).
bool possedeHabilitation(const QString &droit);

// The rights text ",A,B," of a login, read from UTILISATEURS_HABILITATIONS ("," for none).
QString lireHabilitations(const QString &login);
// The reference lists (code lists, analysis referentials, taxa, traits) are edited by an
// administrator or a user with the reference-editing flag. A run without a logged-in user
// (unattended import, vyk-cli without --login) is its operator's and may.
bool peutModifierReferentiels();
inline const QString MESSAGE_REFUS_REFERENTIELS = QStringLiteral(
    "Vous ne disposez pas de droits suffisants pour modifier les listes de référence.");

// Reads the rights of the session's user again (after a change made by an administrator).
void rechargerHabilitations();

// One right of the catalogue offered by the user administration.
struct DefinitionHabilitation
{
    QString code;
    QString libelle;
    QString groupe;
};
// Every right of this module, the shared ones and the sibling modules' ones, by group.
const QVector<DefinitionHabilitation> &catalogueHabilitations();
// Network rights of this module, "QUALITO_NETWORK_" + code, one per row of RESEAUX (labelled
// with the network's name); empty when the table does not exist.
QVector<DefinitionHabilitation> habilitationsReseaux();
// True for a right of the catalogue or a network right of a module ("QUALITO_NETWORK_12").
bool estHabilitationConnue(const QString &droit);

} // namespace vyk
