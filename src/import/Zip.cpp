#include "import/Zip.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <functional>

namespace vyk {

namespace {

// clang-format off
const QHash<int, QString> &messages()
{
    static const QHash<int, QString> m = {
        {2, QStringLiteral("Fin innattendu du fichier ZIP")},
        {3, QStringLiteral("Structure invalide du fichier ZIP")},
        {4, QStringLiteral("Mémoire insuffisante")},
        {5, QStringLiteral("Mémoire insuffisante")},
        {9, QStringLiteral("Fichier non trouvé")},
        {11, QStringLiteral("Aucun fichier à tester")},
        {25, QStringLiteral("Indice en dehors de la plage")},
        {28, QStringLiteral("Erreur de création du fichier de destination")},
        {29, QStringLiteral("Erreur à l'ouverture du fichier")},
        {39, QStringLiteral("Mauvais CRC")},
        {40, QStringLiteral("Annulation de l'opération")},
        {41, QStringLiteral("Fichier non traité car crypté")},
        {42, QStringLiteral("Fichier non traité, compression inconnue")},
        {44, QStringLiteral("Code de cryptage inconnu")},
        {45, QStringLiteral("Application occupée")},
        {46, QStringLiteral("Impossible d'extraire un volume")},
        {47, QStringLiteral("Erreur de syntaxe")},
        {48, QStringLiteral("Operation annulée")},
        {49, QStringLiteral("Operation non traitée")},
        {50, QStringLiteral("Disque plein")},
    };
    return m;
}
// clang-format on

QVector<QRegularExpression> filtres(const QString &masque)
{
    QVector<QRegularExpression> r;
    for (const QString &m : masque.split(u';', Qt::SkipEmptyParts)) {
        const QString t = m.trimmed();
        if (t.isEmpty() || t == QLatin1String("*.*") || t == QLatin1String("*")) return {};
        r << QRegularExpression(QRegularExpression::wildcardToRegularExpression(t),
                                QRegularExpression::CaseInsensitiveOption);
    }
    return r;
}

bool retenu(const QString &nom, const QVector<QRegularExpression> &f)
{
    if (f.isEmpty()) return true;
    const QString court = nom.section(u'/', -1);
    for (const QRegularExpression &e : f)
        if (e.match(court).hasMatch()) return true;
    return false;
}

// A member must stay under the destination: no absolute path, drive, nor ".." step; and its name
// must make a file name (no NUL or other control character).
bool nomSur(const QString &nom)
{
    const QString n = QString(nom).replace(u'\\', u'/');
    if (n.isEmpty() || n.startsWith(u'/') || (n.size() > 1 && n[1] == u':')) return false;
    for (const QChar c : n)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    for (const QString &partie : n.split(u'/'))
        if (partie == QLatin1String("..")) return false;
    return true;
}

int codeLecture(int erreurZip)
{
    if (erreurZip == UNZ_CRCERROR) return codeZip::MAUVAIS_CRC;
    if (erreurZip == UNZ_BADZIPFILE) return codeZip::STRUCTURE_INVALIDE;
    return codeZip::FIN_INATTENDUE;
}

// Whether the current member can be read here: neither encrypted nor compressed otherwise than
// by deflate.
int lisible(QuaZip &zip)
{
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info)) return codeZip::STRUCTURE_INVALIDE;
    if (info.isEncrypted()) return codeZip::CRYPTE;
    if (info.method != 0 && info.method != Z_DEFLATED) return codeZip::COMPRESSION_INCONNUE;
    return codeZip::SUCCES;
}

// Reads every retained member through; `chaque` receives each one's name and bytes (false from
// it stops with CREATION_DESTINATION). The archive's code.
int parcourir(const QString &archive, const QString &masque,
              const std::function<bool(const QString &, const QByteArray &)> &chaque,
              QStringList *noms)
{
    if (!QFileInfo(archive).isFile()) return codeZip::FICHIER_NON_TROUVE;
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdUnzip))
        return zip.getZipError() == UNZ_ERRNO ? codeZip::OUVERTURE : codeZip::STRUCTURE_INVALIDE;
    const QVector<QRegularExpression> f = filtres(masque);
    int retenus = 0;
    for (bool suite = zip.goToFirstFile(); suite; suite = zip.goToNextFile()) {
        const QString nom = zip.getCurrentFileName();
        if (noms) *noms << nom;
        if (!nomSur(nom)) return codeZip::NOM_DANGEREUX;
        if (nom.endsWith(u'/') || !retenu(nom, f)) continue;
        if (const int code = lisible(zip); code != codeZip::SUCCES) return code;
        QuaZipFile membre(&zip);
        if (!membre.open(QIODevice::ReadOnly)) return codeLecture(membre.getZipError());
        const QByteArray octets = membre.readAll();
        membre.close();
        if (membre.getZipError() != UNZ_OK) return codeLecture(membre.getZipError());
        if (chaque && !chaque(nom, octets)) return codeZip::CREATION_DESTINATION;
        ++retenus;
    }
    if (zip.getZipError() != UNZ_OK && zip.getZipError() != UNZ_END_OF_LIST_OF_FILE)
        return codeZip::STRUCTURE_INVALIDE;
    return retenus == 0 && !f.isEmpty() ? codeZip::AUCUN_FICHIER : codeZip::SUCCES;
}

QString cheminMembre(const QDir &destination, const QString &nom)
{
    return QDir::cleanPath(destination.absoluteFilePath(QString(nom).replace(u'\\', u'/')));
}

// An unpacked member is a working copy, the import reading the bytes it already holds: it is
// written whole or not at all (a partial file renamed), but not forced to the disk.
bool ecrireMembre(const QString &chemin, const QByteArray &octets)
{
    if (!QDir().mkpath(QFileInfo(chemin).absolutePath())) return false;
    const QString partiel = chemin + QStringLiteral(".part");
    QFile fichier(partiel);
    const bool ecrit = fichier.open(QIODevice::WriteOnly) &&
                       fichier.write(octets) == octets.size() && fichier.flush();
    fichier.close();
    if (ecrit && (!QFile::exists(chemin) || QFile::remove(chemin)) &&
        QFile::rename(partiel, chemin))
        return true;
    QFile::remove(partiel);
    return false;
}

// What the check keeps of the members for the writing: beyond it, the archive is read again.
constexpr qint64 OCTETS_GARDES_MAX = qint64(256) << 20;

} // namespace

QString messageZip(int code)
{
    return messages().value(code);
}

QString erreurDecompression(int code)
{
    return QStringLiteral("Erreur de décompression: ") + messageZip(code);
}

int decompresserZip(const QString &archive, const QString &masque, const QString &destination,
                    QHash<QString, QByteArray> *membres)
{
    // The first pass checks the whole archive, so that a bad one leaves nothing behind.
    QVector<std::pair<QString, QByteArray>> lus;
    qint64 taille = 0;
    const int code = parcourir(
        archive, masque,
        [&](const QString &nom, const QByteArray &o) {
            taille += o.size();
            if (taille <= OCTETS_GARDES_MAX)
                lus.append({nom, o});
            else
                lus.clear();
            return true;
        },
        nullptr);
    if (code != codeZip::SUCCES) return code;
    const QDir dossier(destination);
    if (destination.trimmed().isEmpty() || !QDir().mkpath(dossier.absolutePath()))
        return codeZip::CREATION_DESTINATION;
    if (taille > OCTETS_GARDES_MAX)
        return parcourir(
            archive, masque,
            [&](const QString &nom, const QByteArray &o) {
                return ecrireMembre(cheminMembre(dossier, nom), o);
            },
            nullptr);
    for (auto &[nom, octets] : lus) {
        const QString chemin = cheminMembre(dossier, nom);
        if (!ecrireMembre(chemin, octets)) return codeZip::CREATION_DESTINATION;
        if (membres) membres->insert(chemin, std::move(octets));
    }
    return codeZip::SUCCES;
}

namespace {

// The member of that file name, "" when there is none; false for an archive that cannot be read
// through or holds a dangerous name (code set).
bool trouverMembre(QuaZip &zip, const QString &nom, QString &trouve, int &code)
{
    for (bool suite = zip.goToFirstFile(); suite; suite = zip.goToNextFile()) {
        const QString membre = zip.getCurrentFileName();
        if (!nomSur(membre)) {
            code = codeZip::NOM_DANGEREUX;
            return false;
        }
        const QString court = QString(membre).replace(u'\\', u'/').section(u'/', -1);
        if (trouve.isEmpty() && court.compare(nom, Qt::CaseInsensitive) == 0) trouve = membre;
    }
    if (zip.getZipError() == UNZ_OK || zip.getZipError() == UNZ_END_OF_LIST_OF_FILE) return true;
    code = codeZip::STRUCTURE_INVALIDE;
    return false;
}

// Copies the current member into `sortie`; the code.
int copierMembre(QuaZip &zip, QFile &sortie)
{
    if (const int code = lisible(zip); code != codeZip::SUCCES) return code;
    QuaZipFile entree(&zip);
    if (!entree.open(QIODevice::ReadOnly)) return codeLecture(entree.getZipError());
    QByteArray bloc(1 << 20, Qt::Uninitialized);
    int code = codeZip::SUCCES;
    for (qint64 n; code == codeZip::SUCCES && (n = entree.read(bloc.data(), bloc.size())) != 0;) {
        if (n < 0)
            code = codeLecture(entree.getZipError());
        else if (sortie.write(bloc.constData(), n) != n)
            code = codeZip::CREATION_DESTINATION;
    }
    entree.close();
    if (code == codeZip::SUCCES && entree.getZipError() != UNZ_OK)
        code = codeLecture(entree.getZipError());
    return code;
}

} // namespace

int extraireMembre(const QString &archive, const QString &nom, const QString &cible)
{
    if (!QFileInfo(archive).isFile()) return codeZip::FICHIER_NON_TROUVE;
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdUnzip))
        return zip.getZipError() == UNZ_ERRNO ? codeZip::OUVERTURE : codeZip::STRUCTURE_INVALIDE;
    QString trouve;
    int code = codeZip::SUCCES;
    if (!trouverMembre(zip, nom, trouve, code)) return code;
    if (trouve.isEmpty()) return codeZip::AUCUN_FICHIER;
    if (!zip.setCurrentFile(trouve)) return codeZip::STRUCTURE_INVALIDE;
    QFile sortie(cible);
    if (!sortie.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return codeZip::CREATION_DESTINATION;
    code = copierMembre(zip, sortie);
    sortie.close();
    if (code == codeZip::SUCCES && sortie.error() != QFileDevice::NoError)
        code = codeZip::CREATION_DESTINATION;
    if (code != codeZip::SUCCES) QFile::remove(cible);
    return code;
}

QStringList listerArchive(const QString &archive, int *code)
{
    QStringList noms;
    const int c = parcourir(archive, {}, {}, &noms);
    if (code) *code = c;
    return noms;
}

bool viderDossierTravail(const QString &dossier, const QStringList &masques)
{
    if (dossier.trimmed().isEmpty() || masques.isEmpty()) return false;
    QDir d(dossier);
    if (!d.exists()) return true;
    bool ok = true;
    for (const QString &f : d.entryList(masques, QDir::Files | QDir::Hidden))
        ok = d.remove(f) && ok;
    return ok;
}

QStringList fichiersExtraits(const QString &dossier)
{
    QStringList fichiers;
    const QDir d(dossier);
    QDirIterator it(dossier, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        fichiers << d.relativeFilePath(it.next());
    fichiers.sort();
    return fichiers;
}

} // namespace vyk
