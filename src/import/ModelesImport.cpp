#include "import/ModelesImport.h"

#include "import/classeurs/ModelesClasseurs.h"
#include "schema/DonneesInitiales.h"

namespace vyk {

namespace {

RouteImport route(const QString &code)
{
    if (code == QLatin1String("ADES CSV") || code == QLatin1String("GDES"))
        return RouteImport::AnalysesTexte;
    if (code == QLatin1String("PC_CSV_NATIONAL")) return RouteImport::AnalysesNommees;
    if (code == QLatin1String("OSUR WEB CSV") || code == QLatin1String("OSUR XLS") ||
        code == QLatin1String("SANDRE_ADOUR_GARONNE"))
        return RouteImport::Regional;
    if (code == QLatin1String("EDILABO")) return RouteImport::LaboXml;
    if (code == QLatin1String("NAIADES_PC") || code == QLatin1String("QUALITEAU_SN") ||
        code == QLatin1String("ADES SEQEAU"))
        return RouteImport::ExtraitCode;
    if (estModeleClasseur(code)) return RouteImport::Classeur;
    if (code == QLatin1String("SANDRE_REFERENTIEL_XML")) return RouteImport::StationsXml;
    if (code == QLatin1String("QESOUT_XML")) return RouteImport::PointsEauXml;
    if (code == QLatin1String("SANDRE_TRAME_1997")) return RouteImport::Sandre1997;
    if (code == QLatin1String("VYLEN")) return RouteImport::Paquet;
    if (code == QLatin1String("ADES_TRAMES")) return RouteImport::ComposantFerme;
    return RouteImport::AutreFormat;
}

} // namespace

const QVector<ModeleImport> &modelesImport()
{
    static const QVector<ModeleImport> modeles = [] {
        QVector<ModeleImport> m;
        for (const FormatDonnees &f : formatsDonnees()) {
            const QString code = QString::fromUtf8(f.code);
            m.append({code, f.nom ? QString::fromUtf8(f.nom) : QString(), route(code)});
        }
        return m;
    }();
    return modeles;
}

const ModeleImport *modeleImport(const QString &code)
{
    for (const ModeleImport &m : modelesImport())
        if (m.code.compare(code.trimmed(), Qt::CaseInsensitive) == 0) return &m;
    return nullptr;
}

QString ModeleImport::libelleListe() const
{
    return libelle.leftJustified(45) + u'[' + code + u']';
}

QString ModeleImport::refus() const
{
    const QString nom = QStringLiteral("Le modèle « ") + (libelle.isEmpty() ? code : libelle) +
                        QStringLiteral(" » [") + code + QStringLiteral("] ");
    switch (route) {
    case RouteImport::ComposantFerme:
        return nom + QStringLiteral("passe par un composant d'import fermé de la suite, absent de "
                                    "VYK : ses fichiers ne peuvent pas être intégrés ici.");
    case RouteImport::AutreFormat:
        return nom + QStringLiteral("n'est pas encore pris en charge par cette version de VYK : "
                                    "aucune donnée n'a été intégrée.");
    default:
        return {};
    }
}

} // namespace vyk
