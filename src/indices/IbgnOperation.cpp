// The operation's side of the IBGN: its faunal list read, the model's results stored.

#include "indices/Ibgn.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <cmath>

namespace vyk {

namespace {

QVariant reglageCode(const QString &nom)
{
    const Nombre n = enNombre(lireRegistre(nom).trimmed(), true);
    return n.estNombre() ? QVariant(n.valeur) : QVariant();
}

bool lireListe(OperationIbgn &op, QString &erreur)
{
    const QString table =
        identifiantTable(QStringLiteral("QUALITOMETRES_LISTE_"), QString::number(op.station));
    if (!bd().tableExiste(table)) return true; // no list yet
    InstructionPreparee lecture = bd().preparer(
        QStringLiteral("SELECT codeTaxon, denombrementA, denombrementB, denombrementC FROM ") +
        table + QStringLiteral(" WHERE codeOperation = ? AND codeListe = 1 ORDER BY indice"));
    Tableau t;
    if (!lecture.extraire(t, {QVariant(op.operation.toDouble())})) {
        erreur = lecture.erreur();
        return false;
    }
    for (int i = 0; i < t.nbLignes(); ++i)
        op.liste.append({t.texte(i, QStringLiteral("codeTaxon")),
                         t.texte(i, QStringLiteral("denombrementA")),
                         t.texte(i, QStringLiteral("denombrementB")),
                         t.texte(i, QStringLiteral("denombrementC"))});
    return true;
}

class Integration
{
  public:
    Integration(qint64 station, const QString &operation)
        : m_cle({QVariant(double(station)), QVariant(operation.toDouble())})
    {
    }

    // The stored value of a parameter (null when none); false on a database error.
    bool valeurStockee(const QString &code, QVariant &valeur)
    {
        InstructionPreparee i = bd().preparer(QStringLiteral(
            "SELECT resultat FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE codeQualitometre = ? "
            "AND codeOperation = ? AND codeParametre = ?"));
        Tableau t;
        if (!i.extraire(t, m_cle + QVector<QVariant>{code.toDouble()})) return false;
        valeur = t.estVide() ? QVariant() : t.valeur(0, QStringLiteral("resultat"));
        return true;
    }

    bool remplacer(const ResultatModele &r)
    {
        const QVector<QVariant> parametre = m_cle + QVector<QVariant>{r.code.toDouble()};
        if (!bd().preparer(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
                                          "codeQualitometre = ? AND codeOperation = ? AND "
                                          "codeParametre = ?"))
                 .executer(parametre))
            return false;
        InstructionPreparee max = bd().preparer(QStringLiteral(
            "SELECT MAX(indice) AS dernier FROM QUALITOMETRES_OPERATIONS_RESULTATS WHERE "
            "codeQualitometre = ? AND codeOperation = ?"));
        Tableau t;
        if (!max.extraire(t, m_cle)) return false;
        const QVariant dernier = t.estVide() ? QVariant() : t.valeur(0, QStringLiteral("dernier"));
        const double indice = dernier.isNull() ? 1 : dernier.toDouble() + 1;
        return bd()
                   .preparer(QStringLiteral(
                       "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                       "codeOperation, indice, codeParametre, codeUnite, resultat, "
                       "codeAccreditation, codeRemarque, codeAgrement) VALUES (?, ?, ?, ?, NULL, "
                       "?, ?, NULL, ?)"))
                   .executer(m_cle + QVector<QVariant>{indice, r.code.toDouble(), r.valeur,
                                                       reglageCode(reglage::Accreditation),
                                                       reglageCode(reglage::Agrement)}) &&
               bd().preparer(
                       QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif = '1' WHERE code = ?"))
                   .executer({r.code});
    }

  private:
    QVector<QVariant> m_cle;
};

bool valeursEgales(const QVariant &stockee, double calculee)
{
    const Nombre n = enNombre(texteValeur(stockee));
    return n.estNombre() &&
           std::abs(n.valeur - calculee) <= 1e-9 * std::max(1.0, std::abs(calculee));
}

bool echec(BilanIbgn &bilan)
{
    bilan.erreur = bd().derniereErreur();
    bilan.enregistres.clear();
    bd().finTransaction(true);
    return false;
}

} // namespace

bool chargerOperationIbgn(const QString &codeBSS, const QString &operation, OperationIbgn &op,
                          QString &erreur)
{
    op = {};
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT O.codeQualitometre, O.codeOperation, O.protocoleBiologique, P.identifiant FROM "
        "QUALITOMETRES Q INNER JOIN QUALITOMETRES_POINTS_OPERATIONS O ON O.codeQualitometre = "
        "Q.codeQualitometre LEFT JOIN QUALITOMETRES_POINTS P ON P.codeQualitometre = "
        "O.codeQualitometre AND P.codePoint = O.codePoint WHERE Q.codeBSS = ? AND "
        "O.codeOperation = ?"));
    const Nombre numero = enNombre(operation);
    Tableau t;
    if (!numero.estNombre() || !lecture.extraire(t, {codeBSS, numero.valeur}) || t.estVide()) {
        erreur = QStringLiteral("Aucune opération %1 pour la station %2.").arg(operation, codeBSS);
        return false;
    }
    op.station = t.valeur(0, QStringLiteral("codeQualitometre")).toLongLong();
    op.operation = t.texte(0, QStringLiteral("codeOperation"));
    op.protocole = t.texte(0, QStringLiteral("protocoleBiologique"));
    op.point = t.texte(0, QStringLiteral("identifiant"));
    return lireListe(op, erreur);
}

bool integrerIbgn(qint64 station, const QString &operation,
                  const QVector<ResultatModele> &resultats, const Confirmation &remplacer,
                  BilanIbgn &bilan)
{
    bilan = {};
    Integration integration(station, operation);
    // Questions first: no transaction stays open while the user reads them.
    QVector<ResultatModele> retenus;
    for (const ResultatModele &r : resultats) {
        QVariant stockee;
        if (!integration.valeurStockee(r.code, stockee)) {
            bilan.erreur = bd().derniereErreur();
            return false;
        }
        const QString texte = texteValeur(stockee);
        if (!texte.isEmpty() && !valeursEgales(stockee, r.valeur) &&
            !(remplacer && remplacer(texteIbgn::QUESTION_REMPLACER.arg(r.code, texte, r.texte))))
            bilan.gardes << r.code;
        else
            retenus << r;
    }
    if (!bd().debutTransaction()) {
        bilan.erreur = bd().derniereErreur();
        return false;
    }
    for (const ResultatModele &r : retenus) {
        if (!integration.remplacer(r)) return echec(bilan);
        bilan.enregistres << r.code;
    }
    if (!bd().finTransaction(false)) return echec(bilan);
    return true;
}

} // namespace vyk
