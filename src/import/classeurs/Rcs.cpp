#include "import/classeurs/Rcs.h"

#include "db/BaseDonnees.h"
#include "db/CleColonne.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/IntegrationInterne.h"

#include <QMap>
#include <QSet>

namespace vyk {

namespace {

const QStringList REQUIS = {QStringLiteral("SANDRE"), QStringLiteral("PARAMETRE"),
                            QStringLiteral("COMMENTAIRE")};
constexpr int IBD = 5856;
constexpr int IPS = 1022;
constexpr int SUPPORT_INVERTEBRES = 13;

// The labelled cells above the table; "" or why a cell is refused.
QString lireBloc(const Feuille &f, int fin, ClasseurRcs &rcs)
{
    for (int l = 1; l < fin; ++l) {
        for (int c = 1; c <= f.derniereColonne(); ++c) {
            const QString t = f.texte(l, c).toUpper();
            rcs.invertebres = rcs.invertebres || t.contains(QLatin1String("INVERT"));
            rcs.profond = rcs.profond || t.contains(QLatin1String("CE PROFOND"));
        }
        const QString cle = cleColonne(f.texte(l, 1));
        const QString valeur = texteUtile(f, l, 2);
        if (cle == QLatin1String("codestation"))
            rcs.station.code = valeur;
        else if (cle == QLatin1String("station"))
            rcs.station.nom = valeur;
        else if (cle == QLatin1String("coursdeau"))
            rcs.station.coursEau = valeur;
        else if (cle == QLatin1String("date"))
            rcs.date = valeur;
        else if (cle == QLatin1String("accreditation"))
            rcs.accreditation = valeur;
        else if (cle == QLatin1String("agrement"))
            rcs.agrement = valeur;
        else if (cle == QLatin1String("ouverturedusite") && !lireOuverture(valeur, rcs.ouverture))
            return refusCellule(f.nom(), l, 2, QStringLiteral("ouverture du site"),
                                ouvertureInconnue(valeur));
    }
    return {};
}

// "oui" 1 (accredited, approved), "non" 2, a code as written; nothing otherwise.
EntierLu codeOuiNon(const QString &texte)
{
    const QString t = cleColonne(texte);
    if (t == QLatin1String("oui")) return 1;
    if (t == QLatin1String("non")) return 2;
    const Nombre n = enNombre(texte, true);
    return n.estNombre() ? EntierLu(qint64(n.valeur)) : std::nullopt;
}

EntierLu entierDe(const QString &texte)
{
    bool ok = false;
    const qint64 v = texte.trimmed().toLongLong(&ok);
    return ok ? EntierLu(v) : std::nullopt;
}

} // namespace

QString lireRcs(const Classeur &classeur, const ChoixFeuille &choisir, ClasseurRcs &rcs)
{
    QString erreur;
    const Feuille *f = feuilleDe(classeur, texteRcs::FEUILLE, choisir, erreur,
                                 texteClasseurs::feuilleRcsAbsente(classeur.chemin()));
    if (!f) return erreur;
    const EnTete entete = chercherEnTete(*f, REQUIS, 60);
    if (entete.ligne == 0) return texteClasseurs::feuilleRcsAbsente(classeur.chemin());
    if (const QString refus = lireBloc(*f, entete.ligne, rcs); !refus.isEmpty()) return refus;
    const int code = entete.colonne({"SANDRE"});
    const int valeur = entete.colonne({"PARAMETRE"});
    const int commentaire = entete.colonne({"COMMENTAIRE"});
    for (int l = entete.ligne + 1; l <= f->derniereLigne(); ++l) {
        MesureRcs m{l, texteUtile(*f, l, code), texteUtile(*f, l, valeur),
                    texteUtile(*f, l, commentaire)};
        if (!m.code.isEmpty()) rcs.mesures << m;
    }
    return {};
}

QString supportParametre(const QString &code, int *support)
{
    const QVariant s = premiere(
        QStringLiteral("SELECT codeSupportDefault FROM ANALYSES_PARAMETRES WHERE code=?"), {code});
    const QVariant nom =
        s.isNull() || s.toString().trimmed().isEmpty()
            ? QVariant()
            : premiere(QStringLiteral("SELECT Nom FROM ANALYSES_SUPPORTS WHERE code=?"),
                       {s.toString().trimmed()});
    if (support) *support = nom.isNull() ? 0 : s.toString().trimmed().toInt();
    return nom.isNull() ? texteRcs::SUPPORT_INCONNU : nom.toString();
}

const QStringList &colonnesApercuRcs()
{
    static const QStringList c = {QStringLiteral("Identifiant"), QStringLiteral("Station"),
                                  QStringLiteral("Date"),        QStringLiteral("Paramètre"),
                                  QStringLiteral("Support"),     QStringLiteral("Valeur"),
                                  QStringLiteral("Commentaire")};
    return c;
}

QVector<QStringList> lignesApercu(const ClasseurRcs &rcs)
{
    QVector<QStringList> lignes;
    for (const MesureRcs &m : rcs.mesures)
        lignes << QStringList{rcs.station.code,         rcs.station.nom, rcs.date,     m.code,
                              supportParametre(m.code), m.valeur,        m.commentaire};
    return lignes;
}

namespace {

// The point and support a parameter's result goes to; support 0 when it has none.
std::pair<QString, int> pointDe(const ClasseurRcs &rcs, const QString &code)
{
    int support = SUPPORT_INVERTEBRES;
    if (!rcs.invertebres) supportParametre(code, &support);
    return {support > 0 ? QString::number(support) + u'1' : QString(), support};
}

bool estCondition(const MesureRcs &m)
{
    const EntierLu p = entierDe(m.code);
    return p && estParametreEnvironnement(*p);
}

// The operation of each point with the comments of its parameters.
QMap<QString, QStringList> commentairesParPoint(const ClasseurRcs &rcs)
{
    QMap<QString, QStringList> c;
    for (const MesureRcs &m : rcs.mesures)
        if (!m.commentaire.isEmpty() && !estCondition(m))
            c[pointDe(rcs, m.code).first] << m.code + QStringLiteral(" : ") + m.commentaire;
    return c;
}

// The points of the workbook's results, where its environmental conditions go.
QStringList pointsResultats(const ClasseurRcs &rcs)
{
    QStringList points;
    for (const MesureRcs &m : rcs.mesures)
        if (const QString p = pointDe(rcs, m.code).first;
            !estCondition(m) && !p.isEmpty() && !points.contains(p))
            points << p;
    if (points.isEmpty() && rcs.invertebres) points << pointDe(rcs, {}).first;
    return points;
}

class IntegrationRcs
{
  public:
    IntegrationRcs(const ClasseurRcs &rcs, EcritureObjets &ecriture)
        : m_rcs(rcs), m_ecriture(ecriture), m_commentaires(commentairesParPoint(rcs)),
          m_points(pointsResultats(rcs))
    {
    }

    QString mesure(const MesureRcs &m)
    {
        const QDateTime date = lireDate(m_rcs.date);
        if (!date.isValid()) return QStringLiteral("la date n'est pas une date");
        const EntierLu parametre = entierDe(m.code);
        if (!parametre)
            return QStringLiteral("le code SANDRE « %1 » n'est pas un code").arg(m.code);
        const Nombre valeur = enNombre(m.valeur, true);
        if (!m.valeur.isEmpty() && !valeur.estNombre())
            return QStringLiteral("la valeur « %1 » n'est pas un nombre").arg(m.valeur);
        const bool condition = estCondition(m);
        const QStringList points = condition ? m_points : QStringList{pointDe(m_rcs, m.code).first};
        if (condition && points.isEmpty())
            return QStringLiteral("la condition %1 n'a pas d'opération : aucun résultat du "
                                  "classeur ne désigne un point")
                .arg(m.code);
        if (points.first().isEmpty())
            return QStringLiteral("le paramètre %1 n'a pas de support par défaut").arg(m.code);
        QString raison;
        if (ecrireStationClasseur(m_ecriture, m_rcs.station, raison) < 0) return raison;
        const NombreLu v = valeur.estNombre() ? NombreLu(valeur.valeur) : std::nullopt;
        for (const QString &point : points) {
            Operation o;
            if (raison = operation(point, date.date(), o); !raison.isEmpty()) return raison;
            MesureEnvironnement c;
            c.parametre = parametre;
            c.mesure = v;
            c.commentaires = m.commentaire;
            const ResultatOperation r{o.cle,
                                      parametre,
                                      {},
                                      v,
                                      {},
                                      codeOuiNon(m_rcs.accreditation),
                                      codeOuiNon(m_rcs.agrement)};
            if (condition ? !ecrireCondition(m_ecriture, o, c, raison)
                          : !m_ecriture.ecrireResultatOperation(r, raison))
                return raison;
        }
        return {};
    }

  private:
    // The point's operation written; its conditions replaced the first time the run meets it.
    QString operation(const QString &point, const QDate &date, Operation &o)
    {
        CleOperation cle{m_rcs.station.code.trimmed(), point, date, {}, {}};
        if (m_rcs.invertebres) cle.protocoleBiologique = m_rcs.profond ? 726 : 598;
        o = m_defauts.operation(cle, point.chopped(1).toInt());
        o.commentaires = m_commentaires.value(point).join(QStringLiteral(" ; "));
        o.ombrage = m_rcs.ouverture;
        QString raison;
        if (m_ecriture.ecrireOperation(o, raison) < 0) return raison;
        if (!m_remplaces.contains(point) &&
            !remplacerConditions(m_ecriture, o, {}, nullptr, raison))
            return raison;
        m_remplaces.insert(point);
        return {};
    }

    const ClasseurRcs &m_rcs;
    EcritureObjets &m_ecriture;
    const DefautsOperation m_defauts = DefautsOperation::lire();
    const QMap<QString, QStringList> m_commentaires;
    const QStringList m_points;
    QSet<QString> m_remplaces;
};

// The parameters the run used, 1022 and 5856 made active.
bool activerParametres(const ClasseurRcs &rcs)
{
    QStringList codes = {QString::number(IPS), QString::number(IBD)};
    for (const MesureRcs &m : rcs.mesures)
        if (!codes.contains(m.code)) codes << m.code;
    InstructionPreparee q =
        bd().preparer(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET Actif='1' WHERE code=?"));
    for (const QString &c : codes)
        if (!q.executer({c})) return false;
    return true;
}

} // namespace

bool integrerRcs(const ClasseurRcs &rcs, EcritureObjets &ecriture, Progression &progression,
                 bool arret, BilanAnalyses &bilan)
{
    IntegrationRcs integration(rcs, ecriture);
    progression.message(QStringLiteral("Intégration station ") + rcs.station.code);
    const bool complet = integrerElements(
        int(rcs.mesures.size()), progression, arret, bilan,
        [&](int i) -> ElementHydrobio {
            return {QStringLiteral("ligne ") + QString::number(rcs.mesures.at(i).ligne),
                    rcs.station.code, rcs.date};
        },
        [&](int i) {
            progression.message(texteRcs::INTEGRATION);
            return integration.mesure(rcs.mesures.at(i));
        });
    if (!activerParametres(rcs)) {
        bilan.erreur = bd().derniereErreur();
        return false;
    }
    return complet;
}

} // namespace vyk
