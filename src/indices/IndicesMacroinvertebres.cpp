#include "indices/IndicesMacroinvertebres.h"

namespace vyk {

namespace {

bool estParametre(const DescriptionIndice &indice, const QString &code)
{
    for (const ParametreIndice &p : indice.parametres)
        if (p.code == code) return true;
    return false;
}

// The code column when it names one of the index's parameters, else the metric's label.
QString parametreI2M2(const DescriptionIndice &indice, const QString &code, const QString &libelle)
{
    if (estParametre(indice, code)) return code;
    const QString l = libelle.toUpper();
    if (l == QLatin1String("I2M2")) return QStringLiteral("7613");
    if (l.contains(QLatin1String("SHANON")) || l.contains(QLatin1String("SHANNON")))
        return QStringLiteral("8058");
    if (l.contains(QLatin1String("ASPT"))) return QStringLiteral("8057");
    if (l.contains(QLatin1String("POLYVOLTINISME"))) return QStringLiteral("8056");
    if (l.contains(QLatin1String("OVOVIVIPARITE"))) return QStringLiteral("8055");
    if (l.contains(QLatin1String("RICHESSE"))) return QStringLiteral("8054");
    return {};
}

QString parametreCode(const DescriptionIndice &indice, const QString &code, const QString &)
{
    return estParametre(indice, code) ? code : QString();
}

} // namespace

const DescriptionIndice &indiceI2M2()
{
    static const DescriptionIndice indice{
        QStringLiteral("I2M2"),
        QStringLiteral("l'I2M2"),
        QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'I2M2"),
        {{QStringLiteral("7613"), QStringLiteral("I2M2")},
         {QStringLiteral("8054"), QStringLiteral("Métrique Richesse Taxonomique de l'I2M2")},
         {QStringLiteral("8055"), QStringLiteral("Métrique Ovoviviparite de l'I2M2")},
         {QStringLiteral("8056"), QStringLiteral("Métrique Polyvoltinisme de l'I2M2")},
         {QStringLiteral("8057"), QStringLiteral("Métrique ASPT de l'I2M2")},
         {QStringLiteral("8058"), QStringLiteral("Métrique Indice de Shannon de l'I2M2")}},
        {{QStringLiteral("resultats_I2M2_*.csv")}},
        {QStringLiteral("707"), QStringLiteral("1029"), QStringLiteral("598")},
        true,
        parametreI2M2};
    return indice;
}

const DescriptionIndice &indiceIBGDCE()
{
    static const DescriptionIndice indice{
        QStringLiteral("IBG-DCE"),
        QStringLiteral("l'IBGDCE"),
        QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'IBGDCE"),
        {{QStringLiteral("5910"), QStringLiteral("MPCE phases A+B")},
         {QStringLiteral("6034"), QStringLiteral("MPCE Variete phases A+B")},
         {QStringLiteral("6035"), QStringLiteral("MPCE GFI phases A+B")},
         {QStringLiteral("8051"), QStringLiteral("Nb Taxons MPCE contributifs")}},
        {{QStringLiteral("resultats_IBG-DCE_*.csv")}},
        {},
        false,
        parametreCode};
    return indice;
}

} // namespace vyk
