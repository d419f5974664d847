#include "import/classeurs/EcritureHydrobio.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/CleColonne.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/IntegrationInterne.h"

namespace vyk {

namespace {

EntierLu entier(const QString &reglage)
{
    const Nombre n = enNombre(lireRegistre(reglage).trimmed(), true);
    return n.estNombre() ? EntierLu(qint64(n.valeur)) : std::nullopt;
}

bool executer(const QString &sql, const QVector<QVariant> &valeurs, QString &erreur)
{
    InstructionPreparee q = bd().preparer(sql);
    if (q.executer(valeurs)) return true;
    erreur = bd().derniereErreur();
    return false;
}

// The commune's code: the INSEE code when the table has it, otherwise found by name.
QString codeCommune(const StationClasseur &s)
{
    QVariant c;
    if (!s.codeInsee.isEmpty())
        c = premiere(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE CodeCommune=?"),
                     {s.codeInsee});
    // Names typed with a typographic apostrophe meet the list's plain one.
    for (const QString &nom : {s.commune, QString(s.commune).replace(QChar(0x2019), u'\'')})
        if (c.isNull() && !nom.isEmpty())
            c = premiere(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE Nom=?"), {nom});
    return c.toString();
}

} // namespace

DefautsOperation DefautsOperation::lire(bool saisonEtConservation)
{
    DefautsOperation d;
    d.qualification = reglage::Qualification;
    d.statut = reglage::Statut;
    d.determinateur = reglage::Determinateur;
    d.producteur = reglage::Producteur;
    d.preleveur = reglage::Preleveur;
    d.accreditation = reglage::Accreditation;
    if (saisonEtConservation) {
        d.saisonnalite = reglage::Saisonnalite;
        d.modeConservation = reglage::ModeConservation;
    }
    return d;
}

Operation DefautsOperation::operation(const CleOperation &cle, int support) const
{
    Operation o;
    o.cle = cle;
    o.qualification = entier(qualification);
    o.statut = entier(statut);
    o.codeDeterminateur = entier(determinateur);
    o.codeProducteur = entier(producteur);
    o.codePreleveur = entier(preleveur);
    o.supportBiologique = support;
    o.accreditation = lireRegistre(accreditation).trimmed();
    if (!saisonnalite.isEmpty()) o.saisonnalite = entier(saisonnalite);
    if (!modeConservation.isEmpty()) o.modeConservation = entier(modeConservation);
    return o;
}

qint64 ecrireStationClasseur(EcritureObjets &ecriture, const StationClasseur &s, QString &erreur)
{
    PointEau p;
    p.code = s.code.trimmed();
    if (p.code.isEmpty()) {
        erreur = QStringLiteral("Le code de la station n'est pas renseigné.");
        return -1;
    }
    // A stored station keeps its description: only the code is given.
    const bool nouvelle = ecriture.station(p.code) < 0;
    if (nouvelle) {
        p.nom = s.nom.left(70);
        p.codeCommune = codeCommune(s);
        if (s.x && s.y) p.coordonnee = {s.x, s.y, EntierLu(s.projection)};
        p.altitude = s.z;
    }
    const qint64 station = ecriture.ecrirePointEau(p, erreur);
    if (station < 0) return -1;
    if (nouvelle && !s.coursEau.isEmpty() &&
        !executer(QStringLiteral("UPDATE QUALITOMETRES SET riviere=? WHERE CodeQualitometre=?"),
                  {s.coursEau, station}, erreur))
        return -1;
    if (nouvelle && !s.masseEau.isEmpty() &&
        !premiere(QStringLiteral("SELECT Code_ME FROM MASSES_EAUX WHERE Libelle=?"), {s.masseEau})
             .isNull() &&
        !ecriture.ecrireMasseEau({p.code, {}, s.masseEau}, erreur))
        return -1;
    if (!s.x || !s.y) return station;
    return executer(QStringLiteral("DELETE FROM QUALITOMETRE_LOCALISATIONS WHERE "
                                   "CodeQualitometre=? AND CodeProjection=?"),
                    {station, s.projection}, erreur) &&
                   executer(QStringLiteral("INSERT INTO QUALITOMETRE_LOCALISATIONS "
                                           "(CodeQualitometre, CodeProjection, X, Y, Z) VALUES "
                                           "(?, ?, ?, ?, ?)"),
                            {station, s.projection, *s.x, *s.y, s.z ? QVariant(*s.z) : QVariant()},
                            erreur)
               ? station
               : -1;
}

bool lireOuverture(const QString &texte, EntierLu &code)
{
    const QString cle = cleColonne(texte);
    code = std::nullopt;
    if (cle.isEmpty()) return true;
    const QStringList valeurs = {QStringLiteral("ouvert"), QStringLiteral("semiouvert"),
                                 QStringLiteral("ferme")};
    if (!valeurs.contains(cle)) return false;
    code = valeurs.indexOf(cle) + 1;
    return true;
}

QString ouvertureInconnue(const QString &texte)
{
    return QStringLiteral("« %1 » n'est ni OUVERT, ni SEMI-OUVERT, ni FERMÉ.").arg(texte);
}

bool estParametreEnvironnement(qint64 parametre)
{
    using namespace parametreEnv;
    return parametre == SITUATION || parametre == METEO || parametre == VISIBILITE ||
           parametre == TURBIDITE || parametre == PERIPHYTON;
}

bool ecrireCondition(EcritureObjets &ecriture, const Operation &o, MesureEnvironnement m,
                     QString &erreur)
{
    m.operation = o.cle;
    m.qualification = o.qualification;
    m.statut = o.statut;
    return ecriture.ecrireMesureEnvironnement(m, erreur);
}

bool remplacerConditions(EcritureObjets &ecriture, const Operation &o,
                         const QVector<MesureEnvironnement> &mesures,
                         const QVector<PrelevementElementaire> *prelevements, QString &erreur)
{
    if (!ecriture.effacerConditions(o.cle, prelevements != nullptr, erreur)) return false;
    for (const MesureEnvironnement &m : mesures)
        if (!ecrireCondition(ecriture, o, m, erreur)) return false;
    for (int i = 0; prelevements && i < prelevements->size(); ++i) {
        PrelevementElementaire p = prelevements->at(i);
        p.operation = o.cle;
        if (!ecriture.ecrirePrelevementElementaire(p, erreur)) return false;
    }
    return true;
}

bool effacerResultats(qint64 station, qint64 operation, const QVector<int> &parametres,
                      QString &erreur)
{
    for (const int p : parametres)
        if (!executer(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
                                     "codeQualitometre=? AND codeOperation=? AND codeParametre=?"),
                      {station, operation, p}, erreur))
            return false;
    return true;
}

bool integrerElements(int nombre, Progression &progression, bool arret, BilanAnalyses &bilan,
                      const std::function<ElementHydrobio(int)> &decrire,
                      const std::function<QString(int)> &integrer)
{
    bilan.lignesLues += nombre;
    for (int i = 0; i < nombre; ++i) {
        if (progression.annule()) {
            bilan.interrompu = true;
            return false;
        }
        progression.position(i, nombre);
        const QString raison = integrer(i);
        if (raison.isEmpty()) continue;
        const ElementHydrobio element = decrire(i);
        LigneEnErreur e;
        e.ligne = i + 1;
        e.origine = element.origine;
        e.raison = texteIntegration::erreurLigne(element.station, element.date, {}) +
                   QStringLiteral(" : ") + raison;
        bilan.lignesEnErreur << e;
        if (arret) {
            bilan.interrompu = true;
            return false;
        }
    }
    return true;
}

void ajouterBilan(const BilanObjets &objets, BilanAnalyses &bilan)
{
    bilan.stationsCreees += objets.stationsCreees;
    bilan.stationsPurgees += objets.stationsPurgees;
    bilan.pointsCrees += objets.pointsCrees;
    bilan.operationsCreees += objets.operationsCreees;
}

} // namespace vyk
