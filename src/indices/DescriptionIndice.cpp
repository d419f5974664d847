#include "indices/DescriptionIndice.h"

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

// Only the index's own line: its variants (a robust IBMR among them) would overwrite it.
QString parametreIBMR(const DescriptionIndice &, const QString &code, const QString &libelle)
{
    return code == QLatin1String("7973") ||
                   (code.isEmpty() &&
                    libelle.compare(QLatin1String("IBMR"), Qt::CaseInsensitive) == 0)
               ? QStringLiteral("7973")
               : QString();
}

DescriptionIndice description(const QString &calculateur, const QString &libelle,
                              const QString &messageDossier,
                              const QList<ParametreIndice> &parametres, const QString &resultats)
{
    DescriptionIndice d;
    d.calculateur = calculateur;
    d.nom = calculateur;
    d.libelle = libelle;
    d.messageDossier = messageDossier;
    d.parametres = parametres;
    d.sorties.resultats = QStringList{resultats};
    d.parametre = parametreCode;
    return d;
}

} // namespace

const DescriptionIndice &indiceI2M2()
{
    static const DescriptionIndice indice = [] {
        DescriptionIndice d = description(
            QStringLiteral("I2M2"), QStringLiteral("l'I2M2"),
            QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'I2M2"),
            {{QStringLiteral("7613"), QStringLiteral("I2M2")},
             {QStringLiteral("8054"), QStringLiteral("Métrique Richesse Taxonomique de l'I2M2")},
             {QStringLiteral("8055"), QStringLiteral("Métrique Ovoviviparite de l'I2M2")},
             {QStringLiteral("8056"), QStringLiteral("Métrique Polyvoltinisme de l'I2M2")},
             {QStringLiteral("8057"), QStringLiteral("Métrique ASPT de l'I2M2")},
             {QStringLiteral("8058"), QStringLiteral("Métrique Indice de Shannon de l'I2M2")}},
            QStringLiteral("resultats_I2M2_*.csv"));
        d.protocolesPreferes = {QStringLiteral("707"), QStringLiteral("1029"),
                                QStringLiteral("598")};
        d.typeNational = true;
        d.parametre = parametreI2M2;
        return d;
    }();
    return indice;
}

const DescriptionIndice &indiceIBGDCE()
{
    static const DescriptionIndice indice = description(
        QStringLiteral("IBG-DCE"), QStringLiteral("l'IBGDCE"),
        QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'IBGDCE"),
        {{QStringLiteral("5910"), QStringLiteral("MPCE phases A+B")},
         {QStringLiteral("6034"), QStringLiteral("MPCE Variete phases A+B")},
         {QStringLiteral("6035"), QStringLiteral("MPCE GFI phases A+B")},
         {QStringLiteral("8051"), QStringLiteral("Nb Taxons MPCE contributifs")}},
        QStringLiteral("resultats_IBG-DCE_*.csv"));
    return indice;
}

const DescriptionIndice &indiceIBD()
{
    static const DescriptionIndice indice = [] {
        DescriptionIndice d = description(
            QStringLiteral("IBD"), QStringLiteral("l'IBD"),
            QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'indice "
                           "correspondant"),
            {{QStringLiteral("5856"), QStringLiteral("IBD")},
             {QStringLiteral("8059"), QStringLiteral("Nb Unité Diatomique")},
             {QStringLiteral("8060"), QStringLiteral("Nb Taxons IBD contributifs")}},
            QStringLiteral("resultats_IBD_*.csv"));
        d.trame = TrameIndice::Diatomees;
        d.point = QStringLiteral("101");
        d.codeListe = 0;
        return d;
    }();
    return indice;
}

const DescriptionIndice &indiceIBMR()
{
    static const DescriptionIndice indice = [] {
        DescriptionIndice d = description(
            QStringLiteral("IBMR"), QStringLiteral("l'IBMR"),
            QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'indice "
                           "correspondant"),
            {{QStringLiteral("7973"), QStringLiteral("IBMR")}},
            QStringLiteral("resultats_IBMR_*.csv"));
        d.trame = TrameIndice::Macrophytes;
        d.point = QStringLiteral("271");
        d.codeListe = 0;
        d.parametre = parametreIBMR;
        return d;
    }();
    return indice;
}

// The diagnostic tool leaves its documents (tables and PDF reports) in "script".
const DescriptionIndice &indiceDiagnostic()
{
    static const DescriptionIndice indice = [] {
        DescriptionIndice d = description(
            QStringLiteral("OutilDiagnostiqueMacroinvertebresV2"),
            QStringLiteral("les diagnostiques"),
            QStringLiteral("Impossible de trouver le répertoire pour le calcul des diagnostiques"),
            {}, QStringLiteral("resultats*.*"));
        d.sorties.resultats << QStringLiteral("*.pdf");
        d.sorties.entrees << QStringLiteral("nom_de_fichier.csv");
        d.nom = QStringLiteral("Diagnostic");
        d.trame = TrameIndice::Diagnostic;
        d.fichierTrame = QStringLiteral("nom_de_fichier.csv");
        d.separateur = u';';
        d.titreProgression = QStringLiteral("Calcul des disagnostiques");
        d.integre = false;
        d.messageDocuments =
            QStringLiteral("L'exportation des données est terminée. Vous pouvez "
                           "consulter les documents dans le répertoire de sortie.");
        return d;
    }();
    return indice;
}

// HYPE leaves PDF reports in "script" and its error logs in "script/scriptsR".
const DescriptionIndice &indiceHype()
{
    static const DescriptionIndice indice = [] {
        DescriptionIndice d = description(
            QStringLiteral("Hype"), QStringLiteral("les tendances"),
            QStringLiteral("Impossible de trouver le répertoire pour le calcul avec Hype"), {},
            QStringLiteral("*.pdf"));
        d.sorties.erreurs = {QStringLiteral("*.Rout"), QStringLiteral("scriptsR/*.Rout")};
        d.sorties.entrees << QStringLiteral("EXPORT_ADES.txt");
        d.trame = TrameIndice::Hype;
        d.point.clear();
        d.codeListe = -1;
        d.fichierTrame = QStringLiteral("EXPORT_ADES.txt");
        d.separateur = u'|';
        d.titreProgression = QStringLiteral("Calcul des tendances");
        d.integre = false;
        d.messageDocuments = QStringLiteral("L'exportation des données est terminée. Vous pouvez "
                                            "consulter les documents dans le répertoire Hype.");
        return d;
    }();
    return indice;
}

QList<const DescriptionIndice *> indicesCalcules()
{
    return {&indiceI2M2(), &indiceIBGDCE(),     &indiceIBD(),
            &indiceIBMR(), &indiceDiagnostic(), &indiceHype()};
}

const DescriptionIndice *indiceNomme(const QString &nom)
{
    for (const DescriptionIndice *d : indicesCalcules())
        for (const QString &n : {d->nom, d->calculateur})
            if (nom.compare(n, Qt::CaseInsensitive) == 0 ||
                nom.compare(QString(n).remove(u'-'), Qt::CaseInsensitive) == 0)
                return d;
    return nullptr;
}

} // namespace vyk
