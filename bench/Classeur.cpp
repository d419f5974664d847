// A sheet of 100 000 x 20 cells (a text every fourth column, numbers elsewhere) read through the
// workbook layer against a bare QuaZip + QXmlStreamReader scan of the same members, and written
// through the layer against direct libxlsxwriter calls (in a process of their own).
// Usage: bench_Classeur [rows] [columns]

#include "classeur/Classeur.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

QString texte(int l, int c)
{
    return QStringLiteral("S%1-%2").arg(l % 5000, 5, 10, QLatin1Char('0')).arg(c);
}

void remplir(Classeur &c, int lignes, int colonnes)
{
    Feuille *f = c.ajouterFeuille(QStringLiteral("Mesures"));
    f->reserver(lignes);
    for (int l = 0; l < lignes; ++l)
        for (int k = 0; k < colonnes; ++k)
            f->ecrire(l + 1, k + 1, k % 4 == 0 ? QVariant(texte(l, k)) : QVariant(l * 0.5 + k));
}

QByteArray membre(QuaZip &zip, const QString &nom)
{
    if (!zip.setCurrentFile(nom)) qFatal("membre absent");
    QuaZipFile f(&zip);
    if (!f.open(QIODevice::ReadOnly)) qFatal("membre illisible");
    return f.readAll();
}

// The raw scan: the shared strings and every <v> of the sheet, read as text.
qint64 scanBrut(const QString &chemin)
{
    QuaZip zip(chemin);
    if (!zip.open(QuaZip::mdUnzip)) qFatal("archive illisible");
    qint64 n = 0;
    for (const QString &nom :
         {QStringLiteral("xl/sharedStrings.xml"), QStringLiteral("xl/worksheets/sheet1.xml")}) {
        QXmlStreamReader xml(membre(zip, nom));
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                (xml.name() == u"v" || xml.name() == u"t"))
                n += xml.readElementText().size();
    }
    return n;
}

double ecritureBrute(const QString &chemin, int lignes, int colonnes)
{
    const QString programme =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_xlsxwriter_brut");
    double meilleur = 1e9;
    for (int i = 0; i < 3; ++i) {
        QProcess p;
        p.start(programme, {chemin, QString::number(lignes), QString::number(colonnes)});
        if (!p.waitForFinished(-1) || p.exitCode() != 0) return -1;
        meilleur = std::min(meilleur, p.readAllStandardOutput().trimmed().toDouble());
    }
    return meilleur;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int lignes = argc > 1 ? atoi(argv[1]) : 100000;
    const int colonnes = argc > 2 ? atoi(argv[2]) : 20;
    QTemporaryDir dossier;
    const QString xlsx = dossier.filePath(QStringLiteral("couche.xlsx"));
    const QString brut = dossier.filePath(QStringLiteral("brut.xlsx"));
    Classeur c;
    remplir(c, lignes, colonnes);
    afficher(QStringLiteral("%1 x %2 cellules").arg(lignes).arg(colonnes));

    const double ecriture = chronometrer(
        [&] {
            if (!c.enregistrer(xlsx)) qFatal("écriture");
        },
        3);
    const double ecritureLxw = ecritureBrute(brut, lignes, colonnes);
    if (ecritureLxw > 0)
        afficher(QStringLiteral("écriture .xlsx : couche %1 s, libxlsxwriter %2 s, rapport %3")
                     .arg(ecriture, 0, 'f', 3)
                     .arg(ecritureLxw, 0, 'f', 3)
                     .arg(ecriture / ecritureLxw, 0, 'f', 2));
    else
        afficher(QStringLiteral("écriture .xlsx : couche %1 s (bench_xlsxwriter_brut absent)")
                     .arg(ecriture, 0, 'f', 3));

    qint64 n = 0;
    const double lecture = chronometrer(
        [&] {
            Classeur l;
            if (!l.ouvrir(xlsx)) qFatal("lecture");
        },
        3);
    const double scan = chronometrer([&] { n = scanBrut(xlsx); }, 3);
    afficher(
        QStringLiteral("lecture .xlsx : couche %1 s, QuaZip + QXmlStreamReader %2 s, rapport %3")
            .arg(lecture, 0, 'f', 3)
            .arg(scan, 0, 'f', 3)
            .arg(lecture / scan, 0, 'f', 2));

    const QString ods = dossier.filePath(QStringLiteral("couche.ods"));
    const double ecritureOds = chronometrer(
        [&] {
            if (!c.enregistrer(ods)) qFatal("écriture");
        },
        3);
    const double lectureOds = chronometrer(
        [&] {
            Classeur l;
            if (!l.ouvrir(ods)) qFatal("lecture");
        },
        3);
    afficher(QStringLiteral(".ods : écriture %1 s, lecture %2 s (%3 caractères lus au scan)")
                 .arg(ecritureOds, 0, 'f', 3)
                 .arg(lectureOds, 0, 'f', 3)
                 .arg(n));
    return 0;
}
