#include "monitoring/Qualitometre.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

namespace vyk {

const QVector<TypeStation> &typesStation()
{
    static const QVector<TypeStation> types = {
        {QStringLiteral("0"), QStringLiteral("Point eau souterraine"),
         QStringLiteral("Piézomètre")},
        {QStringLiteral("1"), QStringLiteral("Cours d'eau"), QStringLiteral("Cours d'eau")},
        {QStringLiteral("2"), QStringLiteral("Plan d'eau"), QStringLiteral("Plan d'eau")},
        {QStringLiteral("3"), QStringLiteral("Grand cours d'eau"),
         QStringLiteral("Grand cours d'eau")},
        {QStringLiteral("4"), QStringLiteral("Milieu marin"), QStringLiteral("Milieu marin")},
        {QStringLiteral("5"), QStringLiteral("Autres cours d'eau et ravines"),
         QStringLiteral("Autres cours d'eau et ravines")},
        {QStringLiteral("6"), QStringLiteral("Source"), QString()},
    };
    return types;
}

EntreesCodees entreesTypesStation()
{
    EntreesCodees r;
    for (const TypeStation &t : typesStation())
        r.append({t.code, t.libelleFiche});
    return r;
}

QString libelleListeTypeStation(const QString &code)
{
    for (const TypeStation &t : typesStation())
        if (t.code == code.trimmed()) return t.libelleListe;
    return {};
}

QString codeAffiche(const QString &codeBSS, const QString &designation)
{
    return designation.isEmpty() ? codeBSS : codeBSS + u'/' + designation;
}

QString sqlCodeAffiche()
{
    return QStringLiteral(
        "iif(Qualitometres.designation is not null, Qualitometres.CodeBSS & '/' & "
        "Qualitometres.designation, Qualitometres.CodeBSS)");
}

namespace {

std::optional<StationQualite> lireStation(const QString &condition, const QVariant &valeur)
{
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Designation, Nom, "
                                     "typeStation FROM Qualitometres WHERE ") +
                      condition + QStringLiteral(" ORDER BY CodeQualitometre"));
    Tableau t;
    if (!lecture.extraire(t, {valeur}) || t.estVide()) return std::nullopt;
    StationQualite s;
    s.code = t.valeur(0, QStringLiteral("CodeQualitometre")).toLongLong();
    s.codeBSS = t.texte(0, QStringLiteral("CodeBSS"));
    s.designation = t.texte(0, QStringLiteral("Designation"));
    s.nom = t.texte(0, QStringLiteral("Nom"));
    s.typeStation = t.texte(0, QStringLiteral("typeStation"));
    return s;
}

} // namespace

std::optional<StationQualite> trouverQualitometre(qint64 code)
{
    return lireStation(QStringLiteral("CodeQualitometre = ?"), QVariant(double(code)));
}

std::optional<StationQualite> trouverQualitometreParCode(const QString &codeBSS)
{
    if (codeBSS.isEmpty()) return std::nullopt;
    return lireStation(QStringLiteral("CodeBSS = ?"), codeBSS);
}

qint64 nouveauCodeQualitometre()
{
    const QVariant max =
        bd().valeur(QStringLiteral("SELECT Max(CodeQualitometre) FROM Qualitometres"));
    return max.isNull() ? 1 : qint64(max.toDouble()) + 1;
}

QString verifierCodeTable(const QString &codeBSS)
{
    QString erreur;
    if (sqlCreationTableAnalyses(codeBSS, &erreur).isEmpty())
        return erreur.isEmpty()
                   ? QStringLiteral(
                         "Le code « %1 » ne peut pas servir à nommer une table de la base.")
                         .arg(codeBSS)
                   : erreur;
    return {};
}

} // namespace vyk
