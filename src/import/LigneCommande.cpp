#include "import/LigneCommande.h"

namespace vyk {

namespace {

// The index of the option's argument and, in `reste`, what follows its name; -1 when absent.
int trouver(const QStringList &arguments, const QString &nom, QString &reste)
{
    const QString cle = u'/' + nom;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (!a.startsWith(cle, Qt::CaseInsensitive)) continue;
        if (a.size() == cle.size()) {
            reste.clear();
            return i;
        }
        const QChar separateur = a[cle.size()];
        if (separateur == u'=' || separateur == u':' || separateur.isSpace()) {
            reste = a.mid(cle.size() + 1);
            return i;
        }
    }
    return -1;
}

} // namespace

bool optionPresente(const QStringList &arguments, const QString &nom)
{
    QString reste;
    return trouver(arguments, nom, reste) >= 0;
}

QString lireParametreLigneCommande(const QStringList &arguments, const QString &nom)
{
    QString valeur;
    const int i = trouver(arguments, nom, valeur);
    if (i < 0) return {};
    for (int j = i + 1; j < arguments.size() && !arguments[j].startsWith(u'/'); ++j)
        valeur += u' ' + arguments[j];
    return valeur.remove(u'"').trimmed();
}

ImportLigneCommande lireImportLigneCommande(const QStringList &arguments)
{
    static const char *const BOOLEENS[6] = {
        "AJOUTNOUVSTATION",      "importerMesureUniquement",    "importerNouvMesureUniquement",
        "PasDeMesureIncorrecte", "descriptifStationUniquement", "ajoutRefManquant"};
    ImportLigneCommande r;
    r.demande = optionPresente(arguments, QStringLiteral("IMPORT"));
    r.dossier = lireParametreLigneCommande(arguments, QStringLiteral("FOLDER"));
    r.extension = lireParametreLigneCommande(arguments, QStringLiteral("EXTENSION"));
    for (int k = 0; k < 6; ++k)
        r.options[k] = lireParametreLigneCommande(arguments, QString::fromLatin1(BOOLEENS[k]))
                           .compare(QLatin1String("OUI"), Qt::CaseInsensitive) == 0;
    return r;
}

} // namespace vyk
