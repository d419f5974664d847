#include "carto/SiteWeb.h"

#include "quality/StatistiquesTableau.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace vyk {

namespace {

const char *const FEUILLE_STYLE = "body { font-family: sans-serif; margin: 1em; }\n"
                                  "table { border-collapse: collapse; }\n"
                                  "th, td { border: 1px solid #999; padding: 2px 6px; }\n"
                                  "th { background: #dde; }\n"
                                  "#menu a { margin-right: 1em; }\n";

QString html(const QString &texte)
{
    return texte.toHtmlEscaped();
}

QString debutPage(const QString &titre)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>") +
           html(titre) +
           QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"stylesheets.css\">\n"
                          "</head>\n<body>\n");
}

QString ligneTableau(const QStringList &cellules, const char *balise)
{
    QString r = QStringLiteral("<tr>");
    for (const QString &c : cellules)
        r += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(balise), html(c));
    return r + QStringLiteral("</tr>\n");
}

// Writes a file of the folder; refuses a name that would leave it.
bool ecrire(const QDir &dossier, const QString &nom, const QByteArray &contenu, QStringList &pages,
            QString *erreur)
{
    const QString chemin = dossier.filePath(nom);
    const bool dedans =
        !nom.isEmpty() && QFileInfo(chemin).absolutePath() == dossier.absolutePath();
    if (!ecrireFichierEntier(dedans ? chemin : QString(), contenu, erreur)) return false;
    pages << nom;
    return true;
}

// Station descriptions: code, department, commune, name, creation, closure; by station number.
QHash<qint64, QStringList> fiches(const QVector<StationExport> &stations)
{
    QStringList codes;
    for (const StationExport &s : stations)
        codes << QString::number(s.code);
    QHash<qint64, QStringList> r;
    if (codes.isEmpty()) return r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT QUALITOMETRES.CodeQualitometre AS station, QUALITOMETRES.CodeBSS "
                       "AS codeBSS, COMMUNES.NumDept AS departement, COMMUNES.Nom AS commune, "
                       "QUALITOMETRES.Nom AS nom, QUALITOMETRES.DateCreation AS creation, "
                       "QUALITOMETRES.DateFermeture AS fermeture FROM QUALITOMETRES "
                       "LEFT JOIN COMMUNES ON COMMUNES.CodeCommune=cstr(QUALITOMETRES.CodeCommune) "
                       "WHERE QUALITOMETRES.CodeQualitometre IN (") +
        codes.join(u',') + u')');
    static const QString colonnes[] = {QStringLiteral("codeBSS"),  QStringLiteral("departement"),
                                       QStringLiteral("commune"),  QStringLiteral("nom"),
                                       QStringLiteral("creation"), QStringLiteral("fermeture")};
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList f;
        for (const QString &c : colonnes)
            f << t.texte(l, c).trimmed();
        r.insert(qint64(t.valeur(l, QStringLiteral("station")).toDouble()), f);
    }
    return r;
}

QString nomPage(const StationExport &s)
{
    return nomFichierSur({QStringLiteral("site"), s.codeBSS}, QStringLiteral("html"));
}

QString pageIndex(const ListeExportQualite &liste, const QHash<qint64, QStringList> &f)
{
    QString p = debutPage(liste.texte(QStringLiteral("Nom"))) + QStringLiteral("<h1>") +
                html(liste.texte(QStringLiteral("Nom"))) + QStringLiteral("</h1>\n<table>\n") +
                ligneTableau({QStringLiteral("Code"), QStringLiteral("Dept"),
                              QStringLiteral("Commune"), QStringLiteral("Nom"),
                              QStringLiteral("Création"), QStringLiteral("Fermeture")},
                             "th");
    for (const StationExport &s : liste.stations) {
        const QStringList cellules = f.value(s.code);
        QString ligne = ligneTableau(cellules, "td");
        // The code links to the station's sheet.
        ligne.replace(QStringLiteral("<td>") + html(cellules.value(0)) + QStringLiteral("</td>"),
                      QStringLiteral("<td><a href=\"") + html(nomPage(s)) + QStringLiteral("\">") +
                          html(cellules.value(0)) + QStringLiteral("</a></td>"));
        p += ligne;
    }
    return p + QStringLiteral("</table>\n</body>\n</html>\n");
}

// The follow-up matrix of the station, restricted to the list's taxa when it names some.
TableauHydrobiologique suivi(const ListeExportQualite &liste, const StationExport &s)
{
    QSet<QString> taxons;
    for (const ElementExport &e : liste.elements)
        if (e.genre != GenreElementExport::PhysicoChimie) taxons.insert(e.code);
    FiltresTableauHydrobio f;
    f.protocole = liste.texte(QStringLiteral("protocole"));
    TableauHydrobiologique t;
    getTableauHydrobiologique(s.code, f, t);
    if (!taxons.isEmpty())
        t.lignes.removeIf([&](const LigneTableauHydrobio &l) { return !taxons.contains(l.code); });
    return t;
}

QString pageStation(const StationExport &s, const QStringList &fiche,
                    const TableauHydrobiologique &t)
{
    QString p = debutPage(s.codeBSS + QStringLiteral(" - ") + s.nom) + QStringLiteral("<h1>") +
                html(s.codeBSS + QStringLiteral(" - ") + s.nom) +
                QStringLiteral("</h1>\n<p id=\"menu\"><a href=\"#documents\">Documents</a>"
                               "<a href=\"#bulletins\">Bulletins</a><a href=\"#graphiques\">"
                               "Graphiques</a><a href=\"#descriptif\">Descriptif</a><a "
                               "href=\"#suivi\">Suivi</a><a href=\"index.html\">Liste</a></p>\n"
                               "<h2 id=\"descriptif\">Fiche signalétique</h2>\n<table>\n");
    const QStringList titres = {QStringLiteral("Code"),     QStringLiteral("Dept"),
                                QStringLiteral("Commune"),  QStringLiteral("Nom"),
                                QStringLiteral("Création"), QStringLiteral("Fermeture")};
    for (qsizetype i = 0; i < titres.size(); ++i)
        p += QStringLiteral("<tr><th>") + titres[i] + QStringLiteral("</th><td>") +
             html(fiche.value(i)) + QStringLiteral("</td></tr>\n");
    p += QStringLiteral("</table>\n<h2 id=\"suivi\">Suivi</h2>\n<table>\n");
    const QVector<QStringList> lignes = t.texte(false);
    for (qsizetype i = 0; i < lignes.size(); ++i)
        p += ligneTableau(lignes[i], i == 0 ? "th" : "td");
    return p + QStringLiteral("</table>\n</body>\n</html>\n");
}

// The faunal list of one date: taxon code, name, count.
QByteArray listeFaunistique(const TableauHydrobiologique &t, qsizetype colonne)
{
    QString csv = ligneCsv({QStringLiteral("code Taxon"), QStringLiteral("Taxon"),
                            QStringLiteral("Dénombrement")},
                           u';') +
                  QStringLiteral("\r\n");
    for (const LigneTableauHydrobio &l : t.lignes)
        if (!l.cellules.value(colonne).isEmpty())
            csv +=
                ligneCsv({l.code, l.nom, l.cellules.value(colonne)}, u';') + QStringLiteral("\r\n");
    return csv.toUtf8();
}

} // namespace

bool ecrireFichierEntier(const QString &chemin, const QByteArray &contenu, QString *erreur)
{
    QSaveFile f(chemin);
    if (!chemin.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(contenu) == contenu.size() &&
        f.commit())
        return true;
    if (erreur)
        *erreur = QStringLiteral("Impossible d'ouvrir le fichier ") +
                  QDir::toNativeSeparators(chemin) +
                  QStringLiteral(".\nVérifiez qu'il ne soit pas déjà ouvert.");
    return false;
}

QString nomFichierSur(const QStringList &morceaux, const QString &extension)
{
    QString nom;
    for (const QString &m : morceaux) {
        QString propre = m.trimmed();
        for (QChar &c : propre)
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-' && c != u'.') c = u'_';
        if (!nom.isEmpty()) nom += u'_';
        nom += propre;
    }
    // Dots alone ("..") would name the parent folder.
    if (nom.isEmpty() || nom.count(u'.') == nom.size()) return {};
    return nom + u'.' + extension;
}

bool ecrireSiteWeb(const ListeExportQualite &liste, const QString &dossier, QStringList &pages,
                   QString *erreur)
{
    const QDir d(dossier);
    const QHash<qint64, QStringList> f = fiches(liste.stations);
    if (!ecrire(d, QStringLiteral("stylesheets.css"), FEUILLE_STYLE, pages, erreur) ||
        !ecrire(d, QStringLiteral("index.html"), pageIndex(liste, f).toUtf8(), pages, erreur))
        return false;
    for (const StationExport &s : liste.stations) {
        const TableauHydrobiologique t = suivi(liste, s);
        if (!ecrire(d, nomPage(s), pageStation(s, f.value(s.code), t).toUtf8(), pages, erreur))
            return false;
        for (qsizetype c = 0; c < t.dates.size(); ++c)
            if (!ecrire(d,
                        nomFichierSur(
                            {QStringLiteral("liste_faunistique"), s.codeBSS, t.dates[c].left(10)},
                            QStringLiteral("csv")),
                        listeFaunistique(t, c), pages, erreur))
                return false;
    }
    return true;
}

} // namespace vyk
