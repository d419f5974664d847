#include "classeur/Classeur.h"

#include "classeur/FichiersClasseur.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace vyk;

namespace {

const QString SPECIAUX = QStringLiteral("R&D <eau> l'étang \"clair\" « Ilôt » _x0041_\ttab");

QByteArray contenuFichier(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every cell of every sheet as "sheet!row,col=text", for exact comparisons.
QStringList cellules(const Classeur &c)
{
    QStringList r;
    for (int i = 1; i <= c.nombreFeuilles(); ++i) {
        const Feuille *f = c.feuille(i);
        for (int l = 1; l <= f->derniereLigne(); ++l)
            for (int k = 1; k <= f->derniereColonne(); ++k)
                if (!f->texte(l, k).isEmpty())
                    r << QStringLiteral("%1!%2,%3=%4")
                             .arg(f->nom())
                             .arg(l)
                             .arg(k)
                             .arg(f->texte(l, k));
    }
    return r;
}

class ClasseurTest : public ::testing::Test
{
  protected:
    QTemporaryDir dossier;
    QString chemin(const QString &nom) const { return dossier.filePath(nom); }

    // The filled workbook saved as nom.xlsx and nom.ods, and their bytes.
    void enregistrerLesDeux(const QString &nom, QByteArray &xlsx, QByteArray &ods)
    {
        Classeur c;
        remplir(c);
        ASSERT_TRUE(c.enregistrer(chemin(nom + QStringLiteral(".xlsx"))));
        ASSERT_TRUE(c.enregistrer(chemin(nom + QStringLiteral(".ods"))));
        xlsx = contenuFichier(chemin(nom + QStringLiteral(".xlsx")));
        ods = contenuFichier(chemin(nom + QStringLiteral(".ods")));
    }

    // Two sheets, one named with an apostrophe and accents, every kind of value, gaps.
    static void remplir(Classeur &c)
    {
        Feuille *f = c.ajouterFeuille(QStringLiteral("Données"));
        f->ecrire(1, 1, QStringLiteral("Station"));
        f->ecrire(1, 2, QStringLiteral("Valeur"));
        f->ecrire(1, 4, QStringLiteral("Date"));
        f->ecrire(2, 1, SPECIAUX);
        f->ecrire(2, 2, 12.5);
        f->ecrire(2, 3, true);
        f->ecrire(2, 4, QDate(2024, 2, 29));
        f->ecrire(4, 1, QStringLiteral("ligne\nsuivante"));
        f->ecrire(4, 2, -0.001);
        f->ecrire(4, 4, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)));
        f = c.ajouterFeuille(QStringLiteral("Relevé d'été"));
        f->ecrire(1, 1, 1234567.0);
        f->ecrire(1, 2, QStringLiteral("  espacé  "));
    }
};

const QStringList ATTENDU = {
    QStringLiteral("Données!1,1=Station"),      QStringLiteral("Données!1,2=Valeur"),
    QStringLiteral("Données!1,4=Date"),         QStringLiteral("Données!2,1=") + SPECIAUX,
    QStringLiteral("Données!2,2=12.5"),         QStringLiteral("Données!2,3=VRAI"),
    QStringLiteral("Données!2,4=29/02/2024"),   QStringLiteral("Données!4,1=ligne\nsuivante"),
    QStringLiteral("Données!4,2=-0.001"),       QStringLiteral("Données!4,4=31/12/1999 23:59:58"),
    QStringLiteral("Relevé d'été!1,1=1234567"), QStringLiteral("Relevé d'été!1,2=  espacé  "),
};

TEST_F(ClasseurTest, LesDeuxFormatsRelisentLesMemesCellules)
{
    Classeur ecrit;
    remplir(ecrit);
    ASSERT_EQ(cellules(ecrit), ATTENDU);
    for (const QString &nom : {QStringLiteral("sortie.xlsx"), QStringLiteral("sortie.ods")}) {
        ASSERT_TRUE(ecrit.enregistrer(chemin(nom))) << qPrintable(ecrit.detail());
        Classeur lu;
        ASSERT_TRUE(lu.ouvrir(chemin(nom))) << qPrintable(nom + u' ' + lu.detail());
        EXPECT_EQ(lu.format(), nom.endsWith(u's') ? FormatClasseur::Ods : FormatClasseur::Xlsx);
        EXPECT_EQ(lu.feuilles(),
                  QStringList({QStringLiteral("Données"), QStringLiteral("Relevé d'été")}));
        EXPECT_EQ(cellules(lu), ATTENDU) << qPrintable(nom);
        const Feuille *f = lu.feuille(1);
        EXPECT_EQ(f->valeur(2, 2), QVariant(12.5));
        EXPECT_EQ(f->valeur(2, 3), QVariant(true));
        EXPECT_EQ(f->valeur(2, 4), QVariant(QDate(2024, 2, 29)));
        EXPECT_EQ(
            f->plage(1, 1, 2, 4),
            QVector<QStringList>(
                {{QStringLiteral("Station"), QStringLiteral("Valeur"), {}, QStringLiteral("Date")},
                 {SPECIAUX, QStringLiteral("12.5"), QStringLiteral("VRAI"),
                  QStringLiteral("29/02/2024")}}));
    }
}

// A real .xls (the workbook saved by LibreOffice, when it is installed). Where LibreOffice cannot
// be found the file is read by FreeXL alone: texts, numbers and dates as written, the boolean
// cell lost (FreeXL gives nothing for it); where it is found the conversion gives every cell.
TEST_F(ClasseurTest, XlsLuParFreeXlSansLibreOffice)
{
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) soffice = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice absent: pas de fichier .xls à produire";
    Classeur ecrit;
    remplir(ecrit);
    ASSERT_TRUE(ecrit.enregistrer(chemin(QStringLiteral("vieux.xlsx"))));
    QProcess p;
    p.start(soffice,
            {QStringLiteral("-env:UserInstallation=") +
                 QUrl::fromLocalFile(chemin(QStringLiteral("profil"))).toString(),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xls"),
             QStringLiteral("--outdir"), dossier.path(), chemin(QStringLiteral("vieux.xlsx"))});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString xls = chemin(QStringLiteral("vieux.xls"));
    ASSERT_TRUE(QFileInfo::exists(xls));

    const QByteArray chemins = qgetenv("PATH");
    qputenv("PATH", QByteArray());
    Classeur seul;
    const bool lu = seul.ouvrir(xls);
    qputenv("PATH", chemins);
    ASSERT_TRUE(lu) << qPrintable(seul.detail());
    EXPECT_EQ(seul.format(), FormatClasseur::Xls);
    QStringList sansBooleen = ATTENDU;
    sansBooleen.removeAll(QStringLiteral("Données!2,3=VRAI"));
    EXPECT_EQ(cellules(seul), sansBooleen);

    Classeur converti;
    ASSERT_TRUE(converti.ouvrir(xls)) << qPrintable(converti.detail());
    EXPECT_EQ(cellules(converti), ATTENDU);
}

TEST_F(ClasseurTest, LeFormatEstLuDansLeContenuPasDansLeNom)
{
    Classeur c;
    remplir(c);
    ASSERT_TRUE(c.enregistrer(chemin("a.ods")));
    ASSERT_TRUE(c.enregistrer(chemin("b.xlsx")));
    ASSERT_TRUE(QFile::rename(chemin("a.ods"), chemin("a.xlsx")));
    ASSERT_TRUE(QFile::rename(chemin("b.xlsx"), chemin("b.xls")));
    Classeur lu;
    ASSERT_TRUE(lu.ouvrir(chemin("a.xlsx")));
    EXPECT_EQ(lu.format(), FormatClasseur::Ods);
    EXPECT_EQ(cellules(lu), ATTENDU);
    ASSERT_TRUE(lu.ouvrir(chemin("b.xls")));
    EXPECT_EQ(lu.format(), FormatClasseur::Xlsx);
    EXPECT_EQ(cellules(lu), ATTENDU);
    // The ODS package begins with its type, stored: the first member, uncompressed.
    const QByteArray ods = contenuFichier(chemin("a.xlsx"));
    EXPECT_EQ(ods.mid(30, 8), QByteArray("mimetype"));
    EXPECT_EQ(ods.mid(8, 2), QByteArray(2, '\0'));
    EXPECT_EQ(ods.mid(38, 46), QByteArray("application/vnd.oasis.opendocument.spreadsheet"));
}

TEST_F(ClasseurTest, FeuilleParNomOuParPosition)
{
    Classeur c;
    remplir(c);
    ASSERT_TRUE(c.enregistrer(chemin("f.ods")));
    Classeur lu;
    ASSERT_TRUE(lu.ouvrir(chemin("f.ods")));
    ASSERT_NE(lu.feuille(QStringLiteral("Relevé d'été")), nullptr);
    EXPECT_EQ(lu.feuille(QStringLiteral("RELEVÉ D'ÉTÉ")), lu.feuille(2));
    EXPECT_EQ(lu.feuille(QStringLiteral("Relevé d’été")),
              nullptr); // a typographic apostrophe is another name
    EXPECT_EQ(lu.feuille(QStringLiteral("Releve d'ete")), nullptr);
    EXPECT_EQ(lu.feuille(3), nullptr);
    EXPECT_EQ(lu.feuille(0), nullptr);
    EXPECT_EQ(lu.feuille(2)->texte(1, 1), QStringLiteral("1234567"));
    EXPECT_EQ(lu.feuille(2)->texte(500, 500), QString());
    EXPECT_EQ(c.ajouterFeuille(QStringLiteral("données")), nullptr);
}

TEST_F(ClasseurTest, DatesDesDeuxSystemes)
{
    // Style 1: day format 14; style 2: a format of its own with hours; style 3: time only.
    const QString formats = QStringLiteral(
        "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\\ hh:mm\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"&quot;jour&quot;\\ 0.00\"/></numFmts>");
    const QString ligne = QStringLiteral(
        "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c><c r=\"B1\" s=\"1\"><v>59</v></c>"
        "<c r=\"C1\" s=\"1\"><v>60</v></c><c r=\"D1\" s=\"1\"><v>61</v></c>"
        "<c r=\"E1\" s=\"1\"><v>45292</v></c><c r=\"F1\" s=\"2\"><v>45292.5</v></c>"
        "<c r=\"G1\" s=\"3\"><v>0.75</v></c><c r=\"H1\"><v>45292</v></c>"
        "<c r=\"I1\" s=\"4\"><v>45292</v></c></row>");
    ASSERT_TRUE(test::ecrireXlsxMain(chemin("1900.xlsx"), ligne, {}, {0, 14, 164, 20, 165}, false,
                                     formats));
    ASSERT_TRUE(
        test::ecrireXlsxMain(chemin("1904.xlsx"), ligne, {}, {0, 14, 164, 20, 165}, true, formats));
    Classeur c;
    ASSERT_TRUE(c.ouvrir(chemin("1900.xlsx"))) << qPrintable(c.detail());
    EXPECT_EQ(c.feuille(1)->plage(1, 1, 1, 9).first(),
              QStringList({"01/01/1900", "28/02/1900", "29/02/1900", "01/03/1900", "01/01/2024",
                           "01/01/2024 12:00:00", "18:00:00", "45292", "45292"}));
    EXPECT_EQ(c.feuille(1)->valeur(1, 4), QVariant(QDate(1900, 3, 1)));
    ASSERT_TRUE(c.ouvrir(chemin("1904.xlsx"))) << qPrintable(c.detail());
    EXPECT_EQ(c.feuille(1)->plage(1, 1, 1, 9).first(),
              QStringList({"02/01/1904", "29/02/1904", "01/03/1904", "02/03/1904", "02/01/2028",
                           "02/01/2028 12:00:00", "18:00:00", "45292", "45292"}));
}

TEST_F(ClasseurTest, ChainesPartageesEnLigneEtFormules)
{
    const QStringList chaines = {
        QStringLiteral("<t>partagée</t>"),
        QStringLiteral("<r><t>riche </t></r><r><rPr/><t>texte</t></r><rPh><t>ふり</t></rPh>"),
        QStringLiteral("<t xml:space=\"preserve\">a_x000D_b &amp; c</t>")};
    const QString donnees =
        QStringLiteral("<row r=\"2\"><c r=\"B2\" t=\"s\"><v>1</v></c><c t=\"s\"><v>0</v></c><c "
                       "t=\"inlineStr\"><is><t>en ligne « ok »</t></is></c></row>"
                       "<row><c r=\"A3\" t=\"str\"><f>CONCATENATE(\"x\",\"y\")</f><v>xy</v></c><c "
                       "r=\"B3\"><f>1+1</f><v>2</v></c>"
                       "<c r=\"C3\" t=\"b\"><v>0</v></c><c r=\"D3\" t=\"e\"><v>#N/A</v></c><c "
                       "r=\"E3\" t=\"s\"><v>2</v></c>"
                       "<c r=\"F3\" t=\"s\"><v>99</v></c><c r=\"G3\"/></row>");
    ASSERT_TRUE(test::ecrireXlsxMain(chemin("chaines.xlsx"), donnees, chaines));
    Classeur c;
    ASSERT_TRUE(c.ouvrir(chemin("chaines.xlsx"))) << qPrintable(c.detail());
    const Feuille *f = c.feuille(QStringLiteral("Feuil1"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->derniereLigne(), 3);
    EXPECT_EQ(f->derniereColonne(), 5);
    EXPECT_EQ(f->plage(1, 1, 3, 5),
              QVector<QStringList>({{"", "", "", "", ""},
                                    {"", "riche texte", "partagée", "en ligne « ok »", ""},
                                    {"xy", "2", "FAUX", "#N/A", "a\rb & c"}}));
    EXPECT_EQ(f->valeur(3, 2), QVariant(2.0));
}

TEST_F(ClasseurTest, RepetitionsEtCellulesCouvertesOds)
{
    const QString table = QStringLiteral(
        "<table:table table:name=\"Prélèvements l'an passé\">"
        "<table:table-column table:number-columns-repeated=\"16384\"/>"
        "<table:table-row><table:table-cell table:number-columns-spanned=\"2\" "
        "office:value-type=\"string\"><text:p>fusion</text:p></table:table-cell>"
        "<table:covered-table-cell/><table:table-cell table:number-columns-repeated=\"3\" "
        "office:value-type=\"float\" office:value=\"7\"><text:p>7,00</text:p></table:table-cell>"
        "<table:table-cell table:number-columns-repeated=\"16378\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
        "office:value-type=\"date\" office:date-value=\"2023-07-14\"><text:p>14 "
        "juil.</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row>"
        "<table:table-row><table:table-cell><text:p>a<text:s "
        "text:c=\"3\"/>b<text:line-break/>c<text:span>d</text:span></text:p><text:p>e</text:p></"
        "table:table-cell>"
        "<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25 "
        "%</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"boolean\" "
        "office:boolean-value=\"true\"><text:p>VRAI</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row>"
        "</table:table><table:table table:name=\"Vide\"/>");
    ASSERT_TRUE(test::ecrireOdsMain(chemin("rep.ods"), table));
    Classeur c;
    ASSERT_TRUE(c.ouvrir(chemin("rep.ods"))) << qPrintable(c.detail());
    EXPECT_EQ(c.feuilles(),
              QStringList({QStringLiteral("Prélèvements l'an passé"), QStringLiteral("Vide")}));
    const Feuille *f = c.feuille(QStringLiteral("Prélèvements l'an passé"));
    EXPECT_EQ(f->derniereLigne(), 7);
    EXPECT_EQ(f->derniereColonne(), 5);
    EXPECT_EQ(f->plage(1, 1, 7, 5),
              QVector<QStringList>({{"fusion", "", "7", "7", "7"},
                                    {"14/07/2023", "", "", "", ""},
                                    {"14/07/2023", "", "", "", ""},
                                    {"", "", "", "", ""},
                                    {"", "", "", "", ""},
                                    {"", "", "", "", ""},
                                    {"a   b\ncd\ne", "0.25", "VRAI", "", ""}}));
    EXPECT_EQ(c.feuille(2)->derniereLigne(), 0);
}

TEST_F(ClasseurTest, FichierEndommageRefuseSansRienEcrire)
{
    QByteArray xlsx, ods;
    ASSERT_NO_FATAL_FAILURE(enregistrerLesDeux(QStringLiteral("bon"), xlsx, ods));
    const QList<std::pair<QString, QByteArray>> mauvais = {
        {QStringLiteral("tronque.xlsx"), xlsx.left(xlsx.size() / 2)},
        {QStringLiteral("tronque.ods"), ods.left(ods.size() - 30)},
        {QStringLiteral("texte.xlsx"), QByteArray("Station;Valeur\n1;2\n")},
        {QStringLiteral("vide.ods"), QByteArray()},
        {QStringLiteral("faux.xls"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 rien", 13)},
    };
    for (const auto &[nom, octets] : mauvais) {
        QFile f(chemin(nom));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(octets);
        f.close();
        Classeur c;
        remplir(c);
        EXPECT_FALSE(c.ouvrir(chemin(nom))) << qPrintable(nom);
        EXPECT_EQ(c.erreur(), QStringLiteral("Impossible d'ouvrir le fichier Excel."))
            << qPrintable(nom);
        EXPECT_FALSE(c.detail().isEmpty());
        EXPECT_EQ(c.nombreFeuilles(), 0);
        EXPECT_EQ(contenuFichier(chemin(nom)), octets);
    }
    Classeur c;
    EXPECT_FALSE(c.ouvrir(chemin("absent.xlsx")));
    EXPECT_EQ(c.erreur(), QStringLiteral("Impossible d'ouvrir le fichier Excel."));
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);
}

TEST_F(ClasseurTest, EnregistrementAtomique)
{
    QByteArray avantXlsx, avantOds;
    ASSERT_NO_FATAL_FAILURE(enregistrerLesDeux(QStringLiteral("suivi"), avantXlsx, avantOds));

    // A sheet name the format refuses makes the save fail half-way: the original stays.
    Classeur refuse;
    refuse.ajouterFeuille(QStringLiteral("Bilan [2024]"))->ecrire(1, 1, QStringLiteral("nouveau"));
    EXPECT_FALSE(refuse.enregistrer(chemin("suivi.xlsx")));
    EXPECT_EQ(refuse.erreur(), QStringLiteral("Impossible d'enregistrer le fichier ") +
                                   QDir::toNativeSeparators(chemin("suivi.xlsx")) + u'.');
    EXPECT_EQ(contenuFichier(chemin("suivi.xlsx")), avantXlsx);
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("suivi.ods"), QStringLiteral("suivi.xlsx")}));
    EXPECT_FALSE(refuse.enregistrer(dossier.filePath(QStringLiteral("absent/suivi.ods"))));
    EXPECT_EQ(contenuFichier(chemin("suivi.ods")), avantOds);

    // A successful save replaces the file whole, twice alike.
    Classeur second;
    second.ajouterFeuille(QStringLiteral("Bilan"))->ecrire(2, 2, QStringLiteral("nouveau"));
    for (const QString &nom : {QStringLiteral("suivi.xlsx"), QStringLiteral("suivi.ods")}) {
        for (int fois = 0; fois < 2; ++fois) {
            ASSERT_TRUE(second.enregistrer(chemin(nom))) << qPrintable(second.detail());
            Classeur lu;
            ASSERT_TRUE(lu.ouvrir(chemin(nom)));
            EXPECT_EQ(cellules(lu), QStringList({QStringLiteral("Bilan!2,2=nouveau")}));
        }
    }
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// Damaged packages and cut documents, by the hundred: each is read whole or refused with the
// message, never half-read.
TEST_F(ClasseurTest, DommagesEnSerie)
{
    QByteArray xlsx, ods;
    ASSERT_NO_FATAL_FAILURE(enregistrerLesDeux(QStringLiteral("modele"), xlsx, ods));
    const QString fichier = chemin("essai");
    int refuses = 0;
    auto essayer = [&](const QByteArray &octets) {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(octets);
        f.close();
        Classeur c;
        if (c.ouvrir(fichier)) {
            EXPECT_TRUE(c.erreur().isEmpty());
            return;
        }
        ++refuses;
        EXPECT_EQ(c.erreur(), QStringLiteral("Impossible d'ouvrir le fichier Excel."));
        EXPECT_EQ(c.nombreFeuilles(), 0);
    };
    for (const QByteArray *paquet : {&xlsx, &ods}) {
        for (qsizetype i = 0; i < paquet->size(); i += 53) {
            QByteArray abime = *paquet;
            abime[i] = char(abime[i] ^ 0x5A);
            essayer(abime);
        }
    }
    // A sheet cut anywhere is refused: a cut document is no sheet.
    const QString cellules =
        QStringLiteral("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>début</t></is></c>"
                       "<c r=\"B1\"><v>2</v></c></row><row r=\"2\"><c r=\"A2\"><v>3</v></c></row>");
    const int avant = refuses;
    for (qsizetype n = 1; n < cellules.size(); n += 7) {
        ASSERT_TRUE(test::ecrireXlsxMain(fichier, cellules.left(n)));
        Classeur c;
        EXPECT_FALSE(c.ouvrir(fichier)) << n;
        EXPECT_EQ(c.erreur(), QStringLiteral("Impossible d'ouvrir le fichier Excel."));
        ++refuses;
    }
    EXPECT_GT(avant, 0);
    EXPECT_GT(refuses, avant);
}

} // namespace
