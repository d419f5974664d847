#include "import/classeurs/Rcs.h"

#include "db/BaseDonnees.h"
#include "db/CleColonne.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "import/IntegrationInterne.h"

#include <QMap>

namespace vyk {

namespace {

const QStringList REQUIS = {QStringLiteral("SANDRE"), QStringLiteral("PARAMETRE"),
                            QStringLiteral("COMMENTAIRE")};
constexpr int IBD = 5856;
constexpr int IPS = 1022;
constexpr int SUPPORT_INVERTEBRES = 13;

// The labelled cells above the table.
void lireBloc(const Feuille &f, int fin, ClasseurRcs &rcs)
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
    }
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
    lireBloc(*f, entete.ligne, rcs);
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

// The operation of each point with the comments of its parameters.
QMap<QString, QStringList> commentairesParPoint(const ClasseurRcs &rcs)
{
    QMap<QString, QStringList> c;
    for (const MesureRcs &m : rcs.mesures)
        if (!m.commentaire.isEmpty())
            c[pointDe(rcs, m.code).first] << m.code + QStringLiteral(" : ") + m.commentaire;
    return c;
}

QString integrerMesure(const ClasseurRcs &rcs, const MesureRcs &m, EcritureObjets &ecriture,
                       const DefautsOperation &defauts,
                       const QMap<QString, QStringList> &commentaires)
{
    const QDateTime date = lireDate(rcs.date);
    if (!date.isValid()) return QStringLiteral("la date n'est pas une date");
    const EntierLu parametre = entierDe(m.code);
    if (!parametre) return QStringLiteral("le code SANDRE « %1 » n'est pas un code").arg(m.code);
    const Nombre valeur = enNombre(m.valeur, true);
    if (!m.valeur.isEmpty() && !valeur.estNombre())
        return QStringLiteral("la valeur « %1 » n'est pas un nombre").arg(m.valeur);
    const auto [point, support] = pointDe(rcs, m.code);
    if (support == 0)
        return QStringLiteral("le paramètre %1 n'a pas de support par défaut").arg(m.code);
    QString raison;
    if (ecrireStationClasseur(ecriture, rcs.station, raison) < 0) return raison;
    CleOperation cle{rcs.station.code.trimmed(), point, date.date(), {}, {}};
    if (rcs.invertebres) cle.protocoleBiologique = rcs.profond ? 726 : 598;
    Operation o = defauts.operation(cle, support);
    o.commentaires = commentaires.value(point).join(QStringLiteral(" ; "));
    if (ecriture.ecrireOperation(o, raison) < 0) return raison;
    ResultatOperation r{cle,
                        parametre,
                        {},
                        valeur.estNombre() ? NombreLu(valeur.valeur) : std::nullopt,
                        {},
                        codeOuiNon(rcs.accreditation),
                        codeOuiNon(rcs.agrement)};
    return ecriture.ecrireResultatOperation(r, raison) ? QString() : raison;
}

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
    const DefautsOperation defauts = DefautsOperation::lire();
    const QMap<QString, QStringList> commentaires = commentairesParPoint(rcs);
    progression.message(QStringLiteral("Intégration station ") + rcs.station.code);
    const bool complet = integrerElements(
        int(rcs.mesures.size()), progression, arret, bilan,
        [&](int i) -> ElementHydrobio {
            return {QStringLiteral("ligne ") + QString::number(rcs.mesures.at(i).ligne),
                    rcs.station.code, rcs.date};
        },
        [&](int i) {
            progression.message(texteRcs::INTEGRATION);
            return integrerMesure(rcs, rcs.mesures.at(i), ecriture, defauts, commentaires);
        });
    if (!activerParametres(rcs)) {
        bilan.erreur = bd().derniereErreur();
        return false;
    }
    return complet;
}

} // namespace vyk
