#include "import/classeurs/GarantiesReferentiels.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Tableau.h"

#include <QDateTime>

namespace vyk {

namespace {

// clang-format off
const QVector<LigneGarantie> METHODES_CEMAGREF = {
    {"707", "Qualité de l'eau - Prélèvement et traitement au laboratoire des macro-invertébrés "
            "aquatiques en rivières (XP T90-333 Septembre 2009 + XP T90-388 Juin 2010)",
     "MIB XP T90-333/388", "XP T90-333 ; XP T90-388"},
    {"598", "Protocole de prelevement des Invertebres sur le Reseau de Controle de Surveillance",
     "MIB RCS", "Protocole RCS"},
    {"704", "Protocole RCS macroinvertébrés aux grands cours d'eau", "MIB RCS grands cours",
     "Protocole RCS grands cours d'eau"},
    {"726", "Protocole expérimental d'échantillonnage des macroinvertébrés en cours d'eau profond "
            "+Qualité de l'eau - Traitement au laboratoire d'échantillons contenant des "
            "macro-invertebres de cours d'eau (XP T90-388 Juin 2010)",
     "MIB cours d'eau profond", "XP T90-388"},
    {"471", "Détermination de l'Indice Biologique Global Adapté (IBGA)", "IBGA", "IBGA"},
};
const QVector<LigneGarantie> METHODES_MACROPHYTES = {
    {"455", "Macrophytes - détermination de l'IBMR NF T90-395 (IBMR)", "IBMR", "NF T90-395"},
    {"875", "Macrophytes - détermination de l'IBMR NF T90-395 (points contacts)",
     "IBMR points contacts", "NF T90-395"},
    {"876", "Macrophytes - détermination de l'IBMR NF T90-395 (mixte)", "IBMR mixte",
     "NF T90-395"},
};
const QVector<LigneGarantie> PARAMETRES_MACROPHYTES = {
    {"1079", "Recouvrement en macrophytes", "RecMacro", "Recouvrement macrophytes"},
    {"1425", "Conditions météorologiques pendant le prélèvement", "Météo", "Conditions météo"},
    {"1725", "Situation hydrologique", "SitHydro", "Situation hydrologique"},
    {"2928", "Indice Biologique Macrophytique en Rivière (I.B.M.R.)", "IBMR", "IBMR"},
    {"5473", "Visibilité du fond", "VisiFond", "Visibilité du fond"},
    {"6350", "Variété taxonomique", "VarTaxo", "Variété taxonomique"},
    {"6498", "Turbidite", "Turbidite", "Turbidite"},
    {"6499", "Periphyton observe", "Periphyton", "Periphyton observe"},
};
// clang-format on

const QVector<LigneGarantie> AUCUNE;

QString texte(const char *c)
{
    return QString::fromUtf8(c);
}

// Present: made active; absent: inserted with the columns named.
QString garantir(const QString &table, const QVector<LigneGarantie> &lignes,
                 const QString &insertion,
                 const std::function<QVector<QVariant>(const LigneGarantie &)> &valeurs)
{
    InstructionPreparee cherche = bd().preparer(QStringLiteral("SELECT Code FROM ") + table +
                                                QStringLiteral(" WHERE Code=?"));
    InstructionPreparee active = bd().preparer(QStringLiteral("UPDATE ") + table +
                                               QStringLiteral(" SET Actif='1' WHERE Code=?"));
    InstructionPreparee insere = bd().preparer(insertion);
    for (const LigneGarantie &l : lignes) {
        Tableau t;
        if (!cherche.extraire(t, {texte(l.code)})) return bd().derniereErreur();
        const bool ok =
            t.estVide() ? insere.executer(valeurs(l)) : active.executer({texte(l.code)});
        if (!ok)
            return table + QStringLiteral(" ") + texte(l.code) + QStringLiteral(" : ") +
                   bd().derniereErreur();
    }
    return {};
}

QDateTime aujourdhui()
{
    return QDateTime(QDate::currentDate(), QTime(0, 0));
}

} // namespace

const QVector<LigneGarantie> &methodesGaranties(const QString &modele)
{
    if (modele == QLatin1String("CEMAGREF")) return METHODES_CEMAGREF;
    if (modele == QLatin1String("MACROPHYTES")) return METHODES_MACROPHYTES;
    return AUCUNE;
}

const QVector<LigneGarantie> &parametresGaranties(const QString &modele)
{
    return modele == QLatin1String("MACROPHYTES") ? PARAMETRES_MACROPHYTES : AUCUNE;
}

QString garantirMethodes(const QVector<LigneGarantie> &lignes, const QString &auteur)
{
    return garantir(QStringLiteral("METHODES"), lignes,
                    QStringLiteral("INSERT INTO METHODES (Code, Nom, Statut, DateCreation, "
                                   "DateModification, Auteur, LibelleLong, Reference, Actif) "
                                   "VALUES (?, ?, '2', ?, ?, ?, ?, ?, '1')"),
                    [&](const LigneGarantie &l) -> QVector<QVariant> {
                        return {texte(l.code), texte(l.nom),        aujourdhui(),      aujourdhui(),
                                auteur,        texte(l.mnemonique), texte(l.reference)};
                    });
}

QString garantirParametres(const QVector<LigneGarantie> &lignes, const QString &auteur)
{
    return garantir(QStringLiteral("ANALYSES_PARAMETRES"), lignes,
                    QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Statut, "
                                   "DateCreation, DateModification, Auteur, LibelleCourt, "
                                   "LibelleLong, Commentaires, Actif) "
                                   "VALUES (?, ?, '2', ?, ?, ?, ?, ?, ?, '1')"),
                    [&](const LigneGarantie &l) -> QVector<QVariant> {
                        return {texte(l.code),
                                texte(l.nom),
                                aujourdhui(),
                                aujourdhui(),
                                auteur,
                                texte(l.mnemonique),
                                texte(l.reference),
                                QStringLiteral("Créé par l'import ") + auteur};
                    });
}

QString garantirReferentiels(const QString &modele)
{
    const QString auteur =
        modele == QLatin1String("MACROPHYTES") ? QStringLiteral("IRSTEA") : modele;
    QString e = garantirMethodes(methodesGaranties(modele), auteur);
    if (e.isEmpty()) e = garantirParametres(parametresGaranties(modele), auteur);
    return e;
}

} // namespace vyk
