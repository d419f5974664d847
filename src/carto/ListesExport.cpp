#include "carto/ListesExport.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QHash>

namespace vyk {

namespace {

using N = NatureChamp;

// This module's lists; the groundwater module keeps its own in LISTES_EXPORT.
const QString TYPE_LISTE = QStringLiteral("1");

} // namespace

const ChampsDecrits &champsListeExport()
{
    auto oui = [](const char *colonne, const char *libelle) {
        return ChampDecrit{QString::fromLatin1(colonne), QString::fromUtf8(libelle), N::OuiNon};
    };
    auto code = [](const char *colonne, const char *libelle) {
        return ChampDecrit{QString::fromLatin1(colonne),
                           QString::fromUtf8(libelle),
                           N::Code,
                           5,
                           QStringLiteral("PIEZOMETRES.TYPEPROJECTION"),
                           false,
                           true};
    };
    static const ChampsDecrits champs = {
        {QStringLiteral("Nom"), QStringLiteral("Nom"), N::Texte, 100},
        {QStringLiteral("DateCreation"), QStringLiteral("Date de création"), N::Date},
        {QStringLiteral("DateCalcul"), QStringLiteral("Date de calcul"), N::Date},
        {QStringLiteral("CodeProjection"), QStringLiteral("Projection"), N::Code, 5,
         QStringLiteral("PIEZOMETRES.TYPEPROJECTION")},
        oui("ExportSite", "Export Site"),
        oui("ExportKml", "Export KML"),
        oui("ExportGenericSites", "Export generic sites"),
        {QStringLiteral("cleeGoogle"), QStringLiteral("Clé de la carte"), N::Texte, 255},
        code("TypeProjectionLocalisation", "Type projection localisation"),
        oui("DescriptionHydro", "DescriptionHydro"),
        oui("Contacts", "Contacts"),
        oui("Commentaires", "Commentaires"),
        oui("Bulletins", "Bulletins"),
        oui("Interventions", "Interventions"),
        oui("PhotoSite", "PhotoSite"),
        oui("PhotoCarte", "PhotoCarte"),
        {QStringLiteral("auteur"), QStringLiteral("Auteur"), N::Texte, 250},
        oui("ExportFicheOnly", "Seulement les fiches"),
        {QStringLiteral("zoom"), QStringLiteral("Zoom"), N::Nombre},
        {QStringLiteral("zoomSite"), QStringLiteral("Zoom site"), N::Nombre},
        oui("BulletinsGeneraux", "Bulletins généraux"),
        oui("Documents", "Documents"),
        oui("Reseaux", "Réseaux"),
        {QStringLiteral("TypeAffichageInfo"), QStringLiteral("Type affichage fiche"), N::Texte, 1},
        oui("DetailInterventions", "Détail des interventions"),
        oui("codeGestionnaire", "code Gestionnaire"),
        oui("CodeProprietaire", "code Propriétaire"),
        oui("Impression", "Imprimer"),
        oui("exportMacroinvertebres", "Macroinvertébrés"),
        oui("exportDiatomees", "Diatomées"),
        oui("exportPC", "Physico-chimie"),
        {QStringLiteral("protocole"), QStringLiteral("Protocole"), N::Nombre},
        {QStringLiteral("qualificationMacroinvertebres"),
         QStringLiteral("Qualification macroinvertébrés"), N::Nombre},
        {QStringLiteral("statutMacroinvertebres"), QStringLiteral("Statut macroinvertébrés"),
         N::Nombre},
        {QStringLiteral("qualificationDiatomees"), QStringLiteral("Qualification diatomées"),
         N::Nombre},
        {QStringLiteral("statutDiatomees"), QStringLiteral("Statut diatomées"), N::Nombre},
        {QStringLiteral("qualificationPC"), QStringLiteral("Qualification physico-chimie"),
         N::Nombre},
        {QStringLiteral("statutPC"), QStringLiteral("Statut physico-chimie"), N::Nombre},
    };
    return champs;
}

ListeExportQualite::ListeExportQualite()
{
    for (const ChampDecrit &c : champsListeExport())
        textes << c.texte(QVariant());
}

QString ListeExportQualite::texte(const QString &colonne) const
{
    const ChampsDecrits &champs = champsListeExport();
    for (qsizetype i = 0; i < champs.size(); ++i)
        if (champs[i].colonne.compare(colonne, Qt::CaseInsensitive) == 0) return textes.value(i);
    return {};
}

void ListeExportQualite::setTexte(const QString &colonne, const QString &texte)
{
    const ChampsDecrits &champs = champsListeExport();
    for (qsizetype i = 0; i < champs.size(); ++i)
        if (champs[i].colonne.compare(colonne, Qt::CaseInsensitive) == 0) textes[i] = texte;
}

QVector<QPair<qint64, QString>> listesExport()
{
    QVector<QPair<qint64, QString>> r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT CodeListe, Nom FROM LISTES_EXPORT_QUALITE WHERE TypeListe=") +
        sqlTexte(TYPE_LISTE) + QStringLiteral(" ORDER BY Nom, CodeListe"));
    for (int l = 0; l < t.nbLignes(); ++l)
        r.append({qint64(t.valeur(l, QStringLiteral("CodeListe")).toDouble()),
                  t.texte(l, QStringLiteral("Nom"))});
    return r;
}

namespace {

QString conditionListe(qint64 code)
{
    return QStringLiteral(" WHERE TypeListe=") + sqlTexte(TYPE_LISTE) +
           QStringLiteral(" AND CodeListe=") + QString::number(code);
}

void lireElements(qint64 code, ListeExportQualite &liste)
{
    // Taxa with their latin name, parameters with theirs; by kind, then code.
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT P.site AS site, P.Code AS code, P.unite AS unite, TAXONS.nomLatin "
                       "AS taxon, ANALYSES_PARAMETRES.Nom AS parametre FROM "
                       "(LISTES_EXPORT_QUALITE_PARAM P LEFT JOIN TAXONS ON (P.site<3 AND "
                       "TAXONS.codeTaxon=P.Code)) LEFT JOIN ANALYSES_PARAMETRES ON (P.site=3 AND "
                       "ANALYSES_PARAMETRES.Code=P.Code) WHERE P.TypeListe=") +
        sqlTexte(TYPE_LISTE) + QStringLiteral(" AND P.CodeListe=") + QString::number(code) +
        QStringLiteral(" ORDER BY P.site, P.Code, P.unite"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        ElementExport e;
        e.genre = GenreElementExport(int(t.valeur(l, QStringLiteral("site")).toDouble()));
        e.code = t.texte(l, QStringLiteral("code")).trimmed();
        e.unite = t.texte(l, QStringLiteral("unite")).trimmed();
        e.libelle =
            t.texte(l, e.genre == GenreElementExport::PhysicoChimie ? QStringLiteral("parametre")
                                                                    : QStringLiteral("taxon"));
        liste.elements.append(e);
    }
}

} // namespace

bool chargerListeExport(qint64 code, ListeExportQualite &liste)
{
    liste = ListeExportQualite{};
    const ChampsDecrits &champs = champsListeExport();
    QStringList colonnes;
    for (const ChampDecrit &c : champs)
        colonnes << c.colonne;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM LISTES_EXPORT_QUALITE") + conditionListe(code));
    if (t.estVide()) return false;
    liste.code = code;
    for (qsizetype i = 0; i < champs.size(); ++i)
        liste.textes[i] = champs[i].texte(t(0, int(i)));
    const Tableau s = bd().extraire(
        QStringLiteral("SELECT QUALITOMETRES.CodeQualitometre AS code, QUALITOMETRES.CodeBSS AS "
                       "codeBSS, QUALITOMETRES.Nom AS nom FROM QUALITOMETRES INNER JOIN "
                       "LISTES_EXPORT_QUALITE_SITES ON "
                       "QUALITOMETRES.CodeQualitometre=LISTES_EXPORT_QUALITE_SITES.Code") +
        conditionListe(code) + QStringLiteral(" ORDER BY LISTES_EXPORT_QUALITE_SITES.Ordre ASC"));
    for (int l = 0; l < s.nbLignes(); ++l)
        liste.stations.append({qint64(s.valeur(l, QStringLiteral("code")).toDouble()),
                               s.texte(l, QStringLiteral("codeBSS")).trimmed(),
                               s.texte(l, QStringLiteral("nom"))});
    lireElements(code, liste);
    return true;
}

namespace {

bool ecrireListe(const ListeExportQualite &liste, bool nouvelle)
{
    const ChampsDecrits &champs = champsListeExport();
    QStringList colonnes;
    QVector<QVariant> valeurs;
    for (qsizetype i = 0; i < champs.size(); ++i) {
        colonnes << champs[i].colonne;
        valeurs << champs[i].valeur(liste.textes.value(i));
    }
    QString sql;
    if (nouvelle) {
        colonnes << QStringLiteral("CodeListe") << QStringLiteral("TypeListe");
        valeurs << double(liste.code) << TYPE_LISTE;
        sql = QStringLiteral("INSERT INTO LISTES_EXPORT_QUALITE (") +
              colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
              QStringList(colonnes.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')';
    } else {
        sql = QStringLiteral("UPDATE LISTES_EXPORT_QUALITE SET ") +
              colonnes.join(QStringLiteral("=?, ")) + QStringLiteral("=?") +
              conditionListe(liste.code);
    }
    InstructionPreparee i = bd().preparer(sql);
    return i.executer(valeurs);
}

bool ecrireStationsEtElements(const ListeExportQualite &liste)
{
    if (!bd().Execute(QStringLiteral("DELETE FROM LISTES_EXPORT_QUALITE_SITES") +
                      conditionListe(liste.code)) ||
        !bd().Execute(QStringLiteral("DELETE FROM LISTES_EXPORT_QUALITE_PARAM") +
                      conditionListe(liste.code)))
        return false;
    InstructionPreparee sites = bd().preparer(QStringLiteral(
        "INSERT INTO LISTES_EXPORT_QUALITE_SITES (CodeListe, TypeListe, Code, Ordre) VALUES (?, "
        "?, ?, ?)"));
    for (qsizetype i = 0; i < liste.stations.size(); ++i)
        if (!sites.executer(
                {double(liste.code), TYPE_LISTE, double(liste.stations[i].code), double(i + 1)}))
            return false;
    InstructionPreparee elements = bd().preparer(
        QStringLiteral("INSERT INTO LISTES_EXPORT_QUALITE_PARAM (CodeListe, TypeListe, Code, "
                       "unite, site) VALUES (?, ?, ?, ?, ?)"));
    for (const ElementExport &e : liste.elements)
        if (!elements.executer({double(liste.code), TYPE_LISTE, e.code.trimmed(),
                                nulSiVide(e.unite), double(int(e.genre))}))
            return false;
    return true;
}

} // namespace

bool enregistrerListeExport(ListeExportQualite &liste, QString *erreur)
{
    const QString defaut = verifierSaisie(champsListeExport(), liste.textes);
    if (!defaut.isEmpty()) {
        if (erreur) *erreur = defaut;
        return false;
    }
    Transaction transaction;
    const bool nouvelle = liste.code < 0;
    const qint64 ancien = liste.code;
    bool ok = transaction.estOuverte();
    if (ok && nouvelle) {
        // The largest number + 1, read under the table's lock.
        ok = bd().verrouiller(QStringLiteral("LISTES_EXPORT_QUALITE"));
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT max(CodeListe) FROM LISTES_EXPORT_QUALITE"));
        liste.code = max.isNull() ? 1 : qint64(max.toDouble()) + 1;
    }
    ok = ok && ecrireListe(liste, nouvelle) && ecrireStationsEtElements(liste);
    const QString raison = bd().derniereErreur();
    if (ok && transaction.valider()) return true;
    transaction.annuler();
    liste.code = ancien;
    if (erreur) *erreur = texteListesExport::ECHEC + (ok ? bd().derniereErreur() : raison);
    return false;
}

bool supprimerListeExport(qint64 code, QString *erreur)
{
    Transaction transaction;
    const bool ok =
        transaction.estOuverte() &&
        bd().Execute(QStringLiteral("DELETE FROM LISTES_EXPORT_QUALITE_SITES") +
                     conditionListe(code)) &&
        bd().Execute(QStringLiteral("DELETE FROM LISTES_EXPORT_QUALITE_PARAM") +
                     conditionListe(code)) &&
        bd().Execute(QStringLiteral("DELETE FROM LISTES_EXPORT_QUALITE") + conditionListe(code));
    if (ok && transaction.valider()) return true;
    if (erreur) *erreur = bd().derniereErreur();
    return false;
}

QVector<StationExport> stationsExport(const QStringList &codes, QStringList *inconnus)
{
    QStringList textes, nombres;
    for (const QString &c : codes) {
        textes << sqlTexte(c.trimmed());
        if (estNombre(c)) nombres << sqlNombre(enNombre(c).valeur);
    }
    QString sql = QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES WHERE "
                                 "CodeBSS IN (") +
                  (textes.isEmpty() ? QStringLiteral("NULL") : textes.join(u',')) + u')';
    if (!nombres.isEmpty())
        sql += QStringLiteral(" OR CodeQualitometre IN (") + nombres.join(u',') + u')';
    const Tableau t = bd().extraire(sql);
    QHash<QString, int> parCode;
    QHash<qint64, int> parNumero;
    for (int l = 0; l < t.nbLignes(); ++l) {
        parCode.insert(t.texte(l, QStringLiteral("CodeBSS")).trimmed(), l);
        parNumero.insert(qint64(t.valeur(l, QStringLiteral("CodeQualitometre")).toDouble()), l);
    }
    QVector<StationExport> r;
    for (const QString &c : codes) {
        int trouve = parCode.value(c.trimmed(), -1);
        if (trouve < 0 && estNombre(c)) trouve = parNumero.value(qint64(enNombre(c).valeur), -1);
        if (trouve < 0) {
            if (inconnus) *inconnus << c;
            continue;
        }
        r.append({qint64(t.valeur(trouve, QStringLiteral("CodeQualitometre")).toDouble()),
                  t.texte(trouve, QStringLiteral("CodeBSS")).trimmed(),
                  t.texte(trouve, QStringLiteral("Nom"))});
    }
    return r;
}

} // namespace vyk
