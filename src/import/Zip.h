#pragma once

// ZIP archives handed to the imports: extraction into a working folder, with the return codes
// and messages the imports report.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace vyk {

namespace codeZip {
inline constexpr int SUCCES = 0;
inline constexpr int FIN_INATTENDUE = 2;
inline constexpr int STRUCTURE_INVALIDE = 3;
inline constexpr int FICHIER_NON_TROUVE = 9;
inline constexpr int AUCUN_FICHIER = 11;
inline constexpr int CREATION_DESTINATION = 28;
inline constexpr int OUVERTURE = 29;
inline constexpr int MAUVAIS_CRC = 39;
inline constexpr int CRYPTE = 41;
inline constexpr int COMPRESSION_INCONNUE = 42;
// A member named with ".." or an absolute path makes the structure invalid.
inline constexpr int NOM_DANGEREUX = STRUCTURE_INVALIDE;
} // namespace codeZip

// The message of a return code ("Mauvais CRC" for 39); "" for a code without text.
QString messageZip(int code);
// "Erreur de décompression: " + the code's message.
QString erreurDecompression(int code);

// Extracts the members matching `masque` ("*.csv;*.txt", "" or "*.*" for all; compared without
// case) into `destination`, overwriting. The archive is read through once first: a member whose
// name climbs out of the folder (".." or an absolute path), a bad CRC or an unreadable
// structure refuse the whole archive before anything is written. Nothing is shown: the caller
// reports a non-zero code as erreurDecompression(code). The bytes read by the check are the
// ones written (up to a bound in all, beyond which the archive is read a second time); given
// `membres`, they are handed over too, by the member's cleaned absolute path, so that a caller
// need not read back what was just written (empty when over the bound).
int decompresserZip(const QString &archive, const QString &masque, const QString &destination,
                    QHash<QString, QByteArray> *membres = nullptr);

// Extracts the member whose file name is `nom` (compared without case, in whatever folder of the
// archive; the first one) into the file `cible`, in one pass: every member's name is checked
// first, the member's CRC as it is written. AUCUN_FICHIER when there is none; on any failure
// `cible` is removed. For a member that is used whole once extracted (a package's database).
int extraireMembre(const QString &archive, const QString &nom, const QString &cible);

// The members of an archive (names as stored), every member read through and checked;
// `code` receives decompresserZip's code for the archive.
QStringList listerArchive(const QString &archive, int *code = nullptr);

// Every file extracted under `dossier`, sub-folders included (an archive's members may sit in
// folders of their own), as paths relative to it, sorted.
QStringList fichiersExtraits(const QString &dossier);

// Deletes, directly in `dossier`, the files matching the masks that a previous run left. An
// empty folder name touches nothing (false): the working folder setting may be unset.
bool viderDossierTravail(const QString &dossier, const QStringList &masques);

} // namespace vyk
