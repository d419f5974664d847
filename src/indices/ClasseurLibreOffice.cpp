#include "indices/ClasseurLibreOffice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <unistd.h>

namespace vyk {

namespace {

// Runs inside the Python that carries the office's bridge: starts the office on a private
// profile and a pipe of its own, applies the writes, recalculates, prints the first sheet.
const char *const SCRIPT = R"py(
import json, os, subprocess, sys, time
import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

def propriete(nom, valeur):
    p = PropertyValue()
    p.Name = nom
    p.Value = valeur
    return p

def connecter(office, tuyau):
    local = uno.getComponentContext()
    resolveur = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(1200):
        try:
            return resolveur.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % tuyau)
        except NoConnectException:
            if office.poll() is not None:
                return None
            time.sleep(0.1)
    return None

def calculer(bureau, demande):
    document = bureau.loadComponentFromURL(uno.systemPathToFileUrl(demande["classeur"]),
                                           "_blank", 0, (propriete("Hidden", True),))
    if document is None or not hasattr(document, "Sheets"):
        raise RuntimeError("le fichier n'est pas un classeur")
    try:
        feuille = document.Sheets.getByIndex(0)
        for ligne, colonne, valeur in demande["ecritures"]:
            cellule = feuille.getCellByPosition(colonne - 1, ligne - 1)
            if isinstance(valeur, (int, float)) and not isinstance(valeur, bool):
                cellule.setValue(valeur)
            else:
                cellule.setString("" if valeur is None else str(valeur))
        document.calculateAll()
        curseur = feuille.createCursor()
        curseur.gotoEndOfUsedArea(False)
        fin = curseur.RangeAddress
        cellules = []
        for ligne in range(fin.EndRow + 1):
            for colonne in range(fin.EndColumn + 1):
                texte = feuille.getCellByPosition(colonne, ligne).getString()
                if texte:
                    cellules.append([ligne + 1, colonne + 1, texte])
        return cellules
    finally:
        document.close(True)

def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        demande = json.load(f)
    tuyau = "vyk%d" % os.getpid()
    office = subprocess.Popen(
        [demande["soffice"], "--headless", "--invisible", "--norestore", "--nologo",
         "--nolockcheck", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(demande["profil"]),
         "--accept=pipe,name=%s;urp;" % tuyau],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    reponse = {}
    contexte = connecter(office, tuyau)
    if contexte is None:
        reponse["erreur"] = "LibreOffice n'a pas démarré"
    else:
        bureau = contexte.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", contexte)
        try:
            reponse["cellules"] = calculer(bureau, demande)
        except Exception as e:
            reponse["erreur"] = "%s: %s" % (type(e).__name__, getattr(e, "Message", "") or e)
        try:
            bureau.terminate()
        except Exception:
            pass
    try:
        office.wait(30)
    except subprocess.TimeoutExpired:
        office.kill()
    with open(demande["sortie"], "w", encoding="utf-8") as f:
        json.dump(reponse, f)

main()
)py";

QString trouverSoffice()
{
    for (const char *nom : {"soffice", "libreoffice"}) {
        const QString chemin = QStandardPaths::findExecutable(QString::fromLatin1(nom));
        if (!chemin.isEmpty()) return chemin;
    }
    return {};
}

bool importeUno(const QString &python)
{
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QStringLiteral("import uno")});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The Python of the office: the one beside the office's program first (where the office ships
// its own, or where the distribution installs the bridge), then the one on the PATH.
QString trouverPython(const QString &soffice)
{
    static QString trouve;
    if (!trouve.isEmpty()) return trouve;
    QStringList candidats;
    const QString dossier = QFileInfo(soffice).absolutePath();
    for (const char *nom : {"python3", "python"})
        if (QFileInfo(QDir(dossier).filePath(QString::fromLatin1(nom))).isExecutable())
            candidats << QDir(dossier).filePath(QString::fromLatin1(nom));
    const QString chemin = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!chemin.isEmpty()) candidats << chemin;
    for (const QString &c : candidats)
        if (importeUno(c)) return trouve = c;
    return {};
}

QJsonValue enJson(const QVariant &v)
{
    if (v.isNull()) return QJsonValue();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int ||
        v.typeId() == QMetaType::LongLong)
        return v.toDouble();
    return v.toString();
}

} // namespace

QString ClasseurLibreOffice::indisponible()
{
    const QString soffice = trouverSoffice();
    if (soffice.isEmpty())
        return QStringLiteral("LibreOffice n'est pas installé (paquet libreoffice-calc-nogui).");
    if (trouverPython(soffice).isEmpty())
        return QStringLiteral("Le pont Python de LibreOffice n'est pas installé (paquet "
                              "python3-uno).");
    return {};
}

bool ClasseurLibreOffice::ouvrir(const QString &chemin)
{
    m_chemin = chemin;
    m_ecritures.clear();
    m_feuille = Feuille();
    return executer();
}

void ClasseurLibreOffice::ecrire(int ligne, int colonne, const QVariant &valeur)
{
    m_ecritures.append({ligne, colonne, valeur});
    m_feuille.ecrire(ligne, colonne, valeur);
}

bool ClasseurLibreOffice::recalculer()
{
    return executer();
}

bool ClasseurLibreOffice::executer()
{
    m_erreur = indisponible();
    if (!m_erreur.isEmpty()) return false;
    if (!m_travail.isValid()) {
        m_erreur = QStringLiteral("Impossible de créer un dossier temporaire.");
        return false;
    }
    const QString script = m_travail.filePath(QStringLiteral("classeur.py"));
    const QString demande = m_travail.filePath(QStringLiteral("demande.json"));
    const QString sortie = m_travail.filePath(QStringLiteral("sortie.json"));
    QFile::remove(sortie);
    QJsonArray ecritures;
    for (const Ecriture &e : m_ecritures)
        ecritures.append(QJsonArray{e.ligne, e.colonne, enJson(e.valeur)});
    const QJsonObject objet{
        {QStringLiteral("soffice"), trouverSoffice()},
        {QStringLiteral("profil"), m_travail.filePath(QStringLiteral("profil"))},
        {QStringLiteral("classeur"), QFileInfo(m_chemin).absoluteFilePath()},
        {QStringLiteral("sortie"), sortie},
        {QStringLiteral("ecritures"), ecritures}};
    QFile s(script), d(demande);
    if (!s.open(QIODevice::WriteOnly) || s.write(SCRIPT) < 0 || !d.open(QIODevice::WriteOnly) ||
        d.write(QJsonDocument(objet).toJson()) < 0) {
        m_erreur = QStringLiteral("Impossible d'écrire dans ") + m_travail.path();
        return false;
    }
    s.close();
    d.close();

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(trouverPython(trouverSoffice()), {script, demande});
    if (!process.waitForStarted(10000)) {
        m_erreur = process.errorString();
        return false;
    }
    const qint64 groupe = process.processId();
    const bool fini = process.waitForFinished(m_delai * 1000);
    // The office may outlive the bridge: the whole group goes.
    ::kill(-pid_t(groupe), SIGKILL);
    process.waitForFinished(5000);
    if (!fini) {
        m_erreur = QStringLiteral("LibreOffice n'a pas terminé le calcul en %1 secondes : il a "
                                  "été arrêté.")
                       .arg(m_delai);
        return false;
    }
    if (!lireSortie(sortie)) {
        if (m_erreur.isEmpty())
            m_erreur = QStringLiteral("LibreOffice s'est arrêté sans résultat : ") +
                       QString::fromUtf8(process.readAll()).trimmed().right(400);
        return false;
    }
    return true;
}

bool ClasseurLibreOffice::lireSortie(const QString &sortie)
{
    QFile f(sortie);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QJsonObject reponse = QJsonDocument::fromJson(f.readAll()).object();
    if (reponse.contains(QStringLiteral("erreur"))) {
        m_erreur = reponse.value(QStringLiteral("erreur")).toString();
        return false;
    }
    if (!reponse.value(QStringLiteral("cellules")).isArray()) return false;
    m_feuille = Feuille();
    for (const QJsonValue &c : reponse.value(QStringLiteral("cellules")).toArray()) {
        const QJsonArray cellule = c.toArray();
        m_feuille.ecrire(cellule.at(0).toInt(), cellule.at(1).toInt(), cellule.at(2).toString());
    }
    return true;
}

} // namespace vyk
