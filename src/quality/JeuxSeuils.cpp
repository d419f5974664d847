#include "quality/JeuxSeuils.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "referentials/ModeleListeCodes.h"

#include <QDate>
#include <QSet>

namespace vyk {

namespace {

using N = NatureChamp;

ChampDecrit champ(const char *colonne, const QString &libelle, N nature, int taille = 0)
{
    return {QString::fromLatin1(colonne), libelle, nature, taille};
}

ChampsDecrits construireChamps(const GenreSeuils &g)
{
    static const QHash<QString, QString> elements = {
        {QStringLiteral("0"), QStringLiteral("Code paramètre")},
        {QStringLiteral("1"), QStringLiteral("Code taxon")},
        {QStringLiteral("2"), QStringLiteral("Code indice")},
        {QStringLiteral("4"), QStringLiteral("Code état")},
    };
    ChampsDecrits c = {champ("CodeParametre", elements.value(g.typeListe), N::Texte, 5)};
    if (g.avecUnite()) c << champ("CodeUnite", QStringLiteral("Code unité"), N::Texte, 5);
    if (g.avecTypes()) {
        c << champ("TypeStation", QStringLiteral("Type station"), N::Texte, 1);
        c << champ("TypeFr", QStringLiteral("Type FR"), N::Nombre);
    }
    c << champ("codeElement", QStringLiteral("Code Sandre param calculé"), N::Texte, 50);
    for (const char *s : {"Seuil1", "Seuil2", "Seuil3", "Seuil4"})
        c << champ(s, QString::fromLatin1(s), N::Nombre);
    return c;
}

// What makes two rows of a set the same element: every field before the computed parameter.
QString cleElement(const GenreSeuils &g, const QStringList &textes)
{
    QStringList cle = textes.mid(0, premiereBorne(g) - 1);
    for (QString &t : cle)
        t = t.trimmed();
    return cle.join(u'|');
}

QString avecLigne(const QString &message, qsizetype ligne)
{
    QString m = message;
    if (m.endsWith(u'.')) m.chop(1);
    return m + QStringLiteral(" pour la ligne ") + QString::number(ligne) + u'.';
}

QString typeListeSql(const GenreSeuils &g)
{
    return QStringLiteral("typeListe=") + sqlTexte(g.typeListe);
}

} // namespace

const ChampsDecrits &champsBornes(const GenreSeuils &genre)
{
    static const QHash<QString, ChampsDecrits> champs = [] {
        QHash<QString, ChampsDecrits> h;
        for (const GenreSeuils &g : genresSeuils())
            h.insert(g.typeListe, construireChamps(g));
        return h;
    }();
    static const ChampsDecrits aucun;
    const auto it = champs.find(genre.typeListe);
    return it == champs.end() ? aucun : *it;
}

int premiereBorne(const GenreSeuils &genre)
{
    return int(champsBornes(genre).size()) - 4;
}

QVector<double> bornesSaisies(const GenreSeuils &genre, const QStringList &textes)
{
    QVector<double> bornes;
    for (int i = premiereBorne(genre); i < premiereBorne(genre) + 4; ++i)
        if (const Nombre n = enNombre(textes.value(i), true); n.estNombre()) bornes << n.valeur;
    return bornes;
}

QString verifierBornes(const GenreSeuils &genre, const QVector<LigneBornes> &lignes)
{
    const ChampsDecrits &champs = champsBornes(genre);
    QSet<QString> vus;
    for (const LigneBornes &l : lignes) {
        if (const QString m = verifierSaisie(champs, l.textes); !m.isEmpty())
            return avecLigne(m, l.ligne);
        if (!bornesMonotones(bornesSaisies(genre, l.textes)))
            return texteSeuils::NON_MONOTONES.arg(l.ligne);
        const QString cle = cleElement(genre, l.textes);
        if (vus.contains(cle))
            return texteSeuils::EN_DOUBLE.arg(l.textes.value(0).trimmed(),
                                              QString::number(l.ligne));
        vus.insert(cle);
    }
    return {};
}

int codeJeuParLibelle(const GenreSeuils &genre, const QString &libelle)
{
    const QVariant code = bd().valeur(
        QStringLiteral("SELECT min(code) FROM codes_sandre WHERE champ=") + sqlTexte(genre.champ) +
        QStringLiteral(" and libelle=") + sqlTexte(libelle.trimmed()));
    return code.isNull() ? -1 : code.toInt();
}

QVector<LigneBornes> lireBornes(const GenreSeuils &genre, int code)
{
    const ChampsDecrits &champs = champsBornes(genre);
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT ") + listeColonnes(champs) +
                      QStringLiteral(" FROM ANALYSES_SEUILS WHERE typeSeuil=") +
                      QString::number(code) + QStringLiteral(" AND ") + typeListeSql(genre) +
                      QStringLiteral(" ORDER BY CodeParametre, ") + champs[1].colonne +
                      QStringLiteral(", ") + champs[2].colonne);
    QVector<LigneBornes> lignes;
    for (int i = 0; i < t.nbLignes(); ++i)
        lignes.append({i + 1, lireTextes(t, i, champs)});
    return lignes;
}

bool ecrireBornes(const GenreSeuils &genre, int code, const QVector<LigneBornes> &lignes)
{
    if (!bd().Execute(QStringLiteral("DELETE FROM ANALYSES_SEUILS WHERE ") + typeListeSql(genre) +
                      QStringLiteral(" AND typeSeuil=") + QString::number(code)))
        return false;
    const ChampsDecrits &champs = champsBornes(genre);
    InstructionPreparee insertion =
        bd().preparer(insertionLiee(QStringLiteral("ANALYSES_SEUILS"), champs,
                                    {QStringLiteral("typeSeuil"), QStringLiteral("TypeListe")}));
    for (const LigneBornes &l : lignes) {
        QVector<QVariant> valeurs = {code, genre.typeListe};
        valeurs << valeursSaisies(champs, l.textes);
        if (!insertion.executer(valeurs)) return false;
    }
    return true;
}

int creerJeu(const GenreSeuils &genre, const QString &libelle, const QString &commentaire,
             const QString &codeReference)
{
    bd().verrouiller(QStringLiteral("CODES_SANDRE"));
    const int code = ModeleListeCodes::codeSuivant(genre.champ);
    InstructionPreparee insertion = bd().preparer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle, Commentaire, DateCreation, Auteur, "
        "Projet, codeReference) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const QString projet = bd().module().isEmpty() ? QStringLiteral("VYK") : bd().module();
    const bool ok =
        insertion.executer({genre.champ, code, libelle.trimmed(), nulSiVide(commentaire),
                            QDateTime(QDate::currentDate(), QTime(0, 0)),
                            nulSiVide(session().login), projet, nulSiVide(codeReference)});
    return ok ? code : -1;
}

} // namespace vyk
