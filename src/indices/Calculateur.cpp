#include "indices/Calculateur.h"

#include "app/Registre.h"
#include "app/Reglages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace vyk {

namespace {

const QString SCRIPT = QStringLiteral("script");
const QString VERROU = QStringLiteral("calcul.lock");

QString avecSeparateur(const QString &dossier)
{
    return dossier.endsWith(u'/') || dossier.endsWith(u'\\') ? dossier : dossier + u'/';
}

bool estCheminWindows(const QString &chemin)
{
    return chemin.contains(u'\\') || (chemin.size() > 1 && chemin.at(1) == u':');
}

// Kills the whole group the script started (its interpreter and whatever it spawned), also
// what it left running in the background after its own end.
void tuerGroupe(QProcess &process, qint64 groupe)
{
    if (groupe > 0) ::kill(-pid_t(groupe), SIGKILL);
    process.waitForFinished(5000);
}

} // namespace

bool versionDossier(const QString &nomDossier, std::array<long long, 3> &version)
{
    const qsizetype souligne = nomDossier.indexOf(u'_');
    if (souligne < 0) return false;
    const QStringList parties = nomDossier.mid(souligne + 1).split(u'.');
    if (parties.size() < 3) return false;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        version[i] = parties[i].toLongLong(&ok);
        if (!ok) return false;
    }
    return true;
}

QString dossierCalculateur(const QString &racine, const QString &nom)
{
    const QDir dir(racine);
    const QStringList dossiers =
        dir.entryList({nom + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QString retenu;
    std::array<long long, 3> meilleure{};
    for (const QString &d : dossiers) {
        std::array<long long, 3> version{};
        if (!versionDossier(d, version)) continue;
        if (retenu.isEmpty() || version > meilleure) {
            retenu = d;
            meilleure = version;
        }
    }
    if (retenu.isEmpty() && dir.exists(nom) && QFileInfo(dir.filePath(nom)).isDir()) retenu = nom;
    return retenu;
}

QStringList fichiersScript(const QString &dossier, const QStringList &motifs)
{
    // A pattern may name a folder under "script" ("scriptsR/*.Rout"): its files come back with
    // that folder in front.
    const QDir script(avecSeparateur(dossier) + SCRIPT);
    QStringList fichiers;
    for (const QString &motif : motifs) {
        const qsizetype barre = motif.lastIndexOf(u'/');
        const QString sous = barre < 0 ? QString() : motif.left(barre + 1);
        const QDir dir(script.filePath(sous));
        for (const QString &f : dir.entryList({motif.mid(barre + 1)}, QDir::Files, QDir::Name))
            if (!fichiers.contains(sous + f)) fichiers << sous + f;
    }
    fichiers.sort();
    return fichiers;
}

bool nettoyerCalculateur(const QString &dossier, const SortiesCalculateur &sorties, QString &erreur)
{
    QStringList restes;
    auto vider = [&](QDir dir, const QStringList &motifs) {
        for (const QString &f : dir.entryList(motifs, QDir::Files))
            if (!dir.remove(f)) restes << dir.filePath(f);
    };
    const QDir dir(dossier);
    vider(dir, sorties.entrees);
    QDir script(dir.filePath(SCRIPT));
    for (const QString &f : fichiersScript(dossier, sorties.resultats + sorties.erreurs +
                                                        QStringList{JOURNAL_EXECUTION}))
        if (!script.remove(f)) restes << script.filePath(f);
    erreur =
        restes.isEmpty()
            ? QString()
            : QStringLiteral("Impossible de supprimer les fichiers d'un calcul précédent :\n") +
                  restes.join(u'\n');
    return restes.isEmpty();
}

QString messageScriptAbsent(const QString &dossier)
{
    const QString script = estCheminWindows(dossier) ? QStringLiteral("run.bat") : SCRIPT_DEMARRAGE;
    const QString separateur =
        estCheminWindows(dossier) ? QStringLiteral("\\") : QStringLiteral("/");
    QString d = dossier;
    while (d.endsWith(u'/') || d.endsWith(u'\\'))
        d.chop(1);
    return QStringLiteral("Impossible de trouver le fichier de démarrage: ") + d + separateur +
           script;
}

int delaiCalculateurs()
{
    bool ok = false;
    const int delai = lireRegistre(reglage::DelaiCalculIndices).trimmed().toInt(&ok);
    return ok && delai >= 0 ? delai : 3600;
}

namespace {

ExecutionCalcul fin(FinCalcul f, const QString &message = {})
{
    return {f, message};
}

QString messageErreur(const QString &dossier, const QString &libelle)
{
    return QStringLiteral("Impossible de calculer ") + libelle +
           QStringLiteral(". Merci de consulter le fichier d'erreur dans le répertoire\r") +
           avecSeparateur(dossier) + SCRIPT;
}

// Waits for the calculator's output once the process is running.
ExecutionCalcul attendre(QProcess &process, const QString &dossier,
                         const SortiesCalculateur &sorties, const QString &libelle,
                         int delaiSecondes, Progression &progression)
{
    const qint64 groupe = process.processId();
    QElapsedTimer chrono;
    chrono.start();
    for (;;) {
        // Read before the outputs: a process that wrote its results and ended is not a failure.
        const bool termine = process.state() == QProcess::NotRunning;
        const bool resultats = !fichiersScript(dossier, sorties.resultats).isEmpty();
        if (resultats || !fichiersScript(dossier, sorties.erreurs).isEmpty()) {
            // Let the calculator finish writing before the file is read.
            process.waitForFinished(2000);
            tuerGroupe(process, groupe);
            return resultats ? fin(FinCalcul::Resultats)
                             : fin(FinCalcul::JournalErreur, messageErreur(dossier, libelle));
        }
        if (termine) {
            tuerGroupe(process, groupe);
            return fin(FinCalcul::SortieSansResultat, messageErreur(dossier, libelle));
        }
        if (delaiSecondes > 0 && chrono.elapsed() >= qint64(delaiSecondes) * 1000) {
            tuerGroupe(process, groupe);
            return fin(FinCalcul::DelaiDepasse,
                       QStringLiteral("Le calcul de %1 n'a pas abouti en %2 secondes : il a été "
                                      "arrêté.")
                           .arg(libelle)
                           .arg(delaiSecondes));
        }
        if (progression.annule()) {
            tuerGroupe(process, groupe);
            return fin(FinCalcul::Annule);
        }
        process.waitForFinished(1000);
    }
}

} // namespace

ExecutionCalcul lancerCalculateur(const QString &dossier, const SortiesCalculateur &sorties,
                                  const QString &libelle, int delaiSecondes,
                                  Progression &progression)
{
    const QDir dir(dossier);
    if (!QFileInfo(dir.filePath(SCRIPT_DEMARRAGE)).isFile())
        return fin(FinCalcul::ScriptAbsent, messageScriptAbsent(dossier));
    QLockFile verrou(dir.filePath(VERROU));
    verrou.setStaleLockTime(0);
    if (!verrou.tryLock(0))
        return fin(FinCalcul::DejaEnCours,
                   QStringLiteral("Un calcul est déjà en cours dans le répertoire ") + dossier);
    dir.mkpath(SCRIPT);
    QProcess process;
    process.setWorkingDirectory(dir.absolutePath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(dir.filePath(SCRIPT + u'/' + JOURNAL_EXECUTION));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(QStringLiteral("/bin/sh"), {dir.absoluteFilePath(SCRIPT_DEMARRAGE)});
    if (!process.waitForStarted(10000))
        return fin(FinCalcul::EchecDemarrage, QStringLiteral("Impossible de démarrer ") +
                                                  dir.filePath(SCRIPT_DEMARRAGE) +
                                                  QStringLiteral(" : ") + process.errorString());
    return attendre(process, dossier, sorties, libelle, delaiSecondes, progression);
}

} // namespace vyk
