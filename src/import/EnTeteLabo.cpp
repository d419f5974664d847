#include "import/EnTeteLabo.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/EcritureSandre.h"
#include "import/LectureSandre.h"
#include "monitoring/Qualitometre.h"

#include <QSet>

namespace vyk {

namespace {

QString texteDescendant(const NoeudXml &n, QStringView nom, QString *schema = nullptr)
{
    const NoeudXml *d = n.estNomme(nom) ? &n : n.descendant(nom);
    if (!d) return {};
    d->lu = true;
    if (schema) *schema = d->schema;
    return d->texte;
}

enum class Role
{
    Emetteur,
    Destinataire,
    Intervenant,
    Station,
    Aucun
};

Role role(QStringView nom)
{
    static const QStringView noms[] = {u"Emetteur", u"Destinataire", u"Intervenant",
                                       u"StationPrelevement"};
    for (int i = 0; i < 4; ++i)
        if (nom.compare(noms[i], Qt::CaseInsensitive) == 0) return Role(i);
    return Role::Aucun;
}

// What the head of a message holds, in the order it is integrated.
struct EnTete
{
    QVector<IntervenantXml> intervenants[3];
    QVector<StationLabo> stations;
    QSet<QString> cles;
};

} // namespace

bool estElementEnTeteLabo(QStringView nom)
{
    return role(nom) != Role::Aucun;
}

IntervenantXml lireIntervenant(const NoeudXml &n)
{
    IntervenantXml i;
    i.code = texteDescendant(n, u"CdIntervenant", &i.schema);
    i.nom = texteDescendant(n, u"NomIntervenant");
    i.ville = texteDescendant(n, u"VilleIntervenant");
    return i;
}

StationLabo lireStationPrelevement(const NoeudXml &n)
{
    return {texteDescendant(n, u"CdStationPrelevement"),
            texteDescendant(n, u"LbStationPrelevement")};
}

void lireElementEnTeteLabo(const NoeudXml &n, ElementsIgnores &ignores)
{
    if (role(n.nom) == Role::Station)
        lireStationPrelevement(n);
    else
        lireIntervenant(n);
    ignores.compterNonLus(n);
}

qint64 integrerIntervenant(const IntervenantXml &i, QString &erreur)
{
    erreur.clear();
    if (i.code.isEmpty()) return -1;
    const bool siret = i.schema.compare(QLatin1String("SIRET"), Qt::CaseInsensitive) == 0;
    const char *colonne = siret ? "SIRET" : "CodeSandre";
    Transaction t;
    bd().verrouiller(QStringLiteral("INTERVENANTS"));
    const QVariant trouve =
        lireLie(QStringLiteral("SELECT CodeIntervenant FROM INTERVENANTS WHERE ") +
                    QLatin1String(colonne) + QStringLiteral(" = ?"),
                {i.code});
    ValeursLigne v(QStringLiteral("INTERVENANTS"));
    if (!i.nom.isEmpty()) v.texte("Nom", i.nom, QStringLiteral("NomIntervenant"));
    if (!i.ville.isEmpty()) v.texte("Ville", i.ville, QStringLiteral("VilleIntervenant"));
    qint64 code = -1;
    bool ecrit = false;
    if (!trouve.isNull()) {
        code = qint64(trouve.toDouble());
        ecrit = v.erreur().isEmpty() &&
                v.mettreAJour({QStringLiteral("CodeIntervenant")}, {code}, erreur);
    } else {
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT Max(CodeIntervenant) FROM INTERVENANTS"));
        code = max.isNull() ? 1 : qint64(max.toDouble()) + 1;
        v.valeur("CodeIntervenant", code);
        v.texte(colonne, i.code, QStringLiteral("CdIntervenant"));
        if (i.nom.isEmpty()) v.valeur("Nom", i.code);
        ecrit = v.erreur().isEmpty() && v.inserer(erreur);
    }
    if (!v.erreur().isEmpty()) erreur = v.erreur();
    if (!ecrit || !t.valider()) {
        if (erreur.isEmpty()) erreur = bd().derniereErreur();
        return -1;
    }
    return code;
}

qint64 integrerStationLabo(const StationLabo &station, QString &erreur)
{
    erreur.clear();
    const CodeDesignation cd = separerCodeDesignation(station.cle);
    if (cd.code.isEmpty()) {
        erreur = QStringLiteral("la station n'a pas de code");
        return -1;
    }
    Transaction t;
    bd().verrouiller(QStringLiteral("QUALITOMETRES"));
    if (const auto s = trouverQualitometreParCode(cd.code)) return s->code;
    const QVariant reference = lireLie(
        QStringLiteral(
            "SELECT CodeQualitometre FROM LIEN_QUALITO_INTERVENANTS WHERE ReferenceInterne = ?"),
        {cd.code});
    if (!reference.isNull()) return qint64(reference.toDouble());
    const qint64 code = creerStationSandre(cd.code, cd.designation, station.libelle, {}, erreur);
    if (code < 0 || !t.valider()) {
        if (erreur.isEmpty()) erreur = bd().derniereErreur();
        return -1;
    }
    return code;
}

QString integrerEnTeteLabo(const QString &chemin, Progression *progression)
{
    EnTete tete;
    ParcoursSandre p;
    p.estUnite = [](QStringView nom, const QStringList &) { return estElementEnTeteLabo(nom); };
    p.unite = [&](const NoeudXml &n, const QStringList &) {
        const Role r = role(n.nom);
        if (r != Role::Station) {
            tete.intervenants[int(r)].append(lireIntervenant(n));
            return;
        }
        const StationLabo s = lireStationPrelevement(n);
        if (tete.cles.contains(s.cle)) return;
        tete.cles.insert(s.cle);
        tete.stations.append(s);
    };
    QString erreur;
    if (!parcourirSandre(chemin, p, erreur, progression)) return erreur;
    Progression &prog = progression ? *progression : progressionNulle();
    QStringList erreurs;
    const QString messages[] = {texteImportLabo::EMETTEUR, texteImportLabo::DESTINATAIRE,
                                texteImportLabo::INTERVENANTS};
    for (int r = 0; r < 3; ++r) {
        prog.message(messages[r]);
        for (const IntervenantXml &i : tete.intervenants[r]) {
            if (prog.annule()) return erreurs.join(QLatin1Char('\n'));
            if (integrerIntervenant(i, erreur) < 0 && !erreur.isEmpty())
                erreurs.append(texteImportLabo::ERREUR_INTERVENANT + i.code +
                               QStringLiteral(" : ") + erreur);
        }
    }
    prog.message(texteImportLabo::STATIONS);
    for (const StationLabo &s : tete.stations) {
        if (prog.annule()) break;
        if (integrerStationLabo(s, erreur) < 0)
            erreurs.append(texteImportLabo::ERREUR_STATION + s.cle + QStringLiteral(" : ") +
                           erreur);
    }
    return erreurs.join(QLatin1Char('\n'));
}

} // namespace vyk
