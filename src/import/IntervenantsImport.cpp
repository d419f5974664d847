#include "import/ResolutionIntervenants.h"

#include "db/InstructionPreparee.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "schema/Catalogue.h"

namespace vyk {

namespace {

QVariant chercher(const QString &sql, const QVariant &valeur)
{
    InstructionPreparee q = bd().preparer(sql);
    Tableau t;
    if (!q.extraire(t, {valeur}) || t.estVide()) return {};
    return t(0, 0);
}

bool demander(const Confirmation &question, const QString &texte)
{
    return question && question(texte);
}

} // namespace

ResolutionIntervenants::ResolutionIntervenants(bool &creerSansDemander,
                                               const ReponsesIntegration &reponses,
                                               QStringList &crees)
    : m_creerSansDemander(creerSansDemander), m_reponses(reponses), m_crees(crees)
{
}

QVariant ResolutionIntervenants::existant(const QString &code, bool siret)
{
    const QString sql = QStringLiteral("SELECT CodeIntervenant FROM Intervenants WHERE ");
    QVariant v =
        chercher(sql + (siret ? QStringLiteral("SIRET=?") : QStringLiteral("CodeSandre=?")), code);
    if (v.isNull() && siret) v = chercher(sql + QStringLiteral("CodeSandre=?"), code);
    // A number may be the organisation's own code, then the code may be its name.
    if (const Nombre n = enNombre(code, true); v.isNull() && n.estNombre())
        v = chercher(sql + QStringLiteral("CodeIntervenant=?"), n.valeur);
    if (v.isNull()) v = chercher(sql + QStringLiteral("Nom=?"), code);
    return v.isNull() ? QVariant() : QVariant(v.toDouble());
}

bool ResolutionIntervenants::creer(const QString &code, bool siret, QVariant &cree, QString &raison)
{
    const QString colonne = siret ? QStringLiteral("SIRET") : QStringLiteral("CodeSandre");
    const int taille = tailleTexte(u"INTERVENANTS", colonne);
    if (taille > 0 && code.size() > taille) {
        raison = QStringLiteral("le code d'intervenant « ") + code +
                 QStringLiteral(" » dépasse la taille de la colonne %1 (%2 caractères)")
                     .arg(colonne)
                     .arg(taille);
        return false;
    }
    if (!m_max) {
        if (bd().enTransaction()) bd().verrouiller(QStringLiteral("INTERVENANTS"));
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT max(CodeIntervenant) FROM Intervenants"));
        m_max = max.isNull() ? 0 : qint64(max.toDouble());
    }
    const qint64 nouveau = *m_max + 1;
    InstructionPreparee ins =
        bd().preparer(QStringLiteral("INSERT INTO Intervenants (CodeIntervenant, Nom, ") + colonne +
                      QStringLiteral(") VALUES (?, ?, ?)"));
    if (!ins.executer({nouveau, code, code})) {
        raison = QStringLiteral("l'intervenant ") + code +
                 QStringLiteral(" n'a pas pu être créé : ") + ins.erreur();
        return false;
    }
    m_max = nouveau;
    m_crees << code;
    cree = double(nouveau);
    return true;
}

bool ResolutionIntervenants::resoudre(const QString &codeLu, const QString &origine,
                                      const QString &defaut, QVariant &code, QString &raison)
{
    QString lu = codeLu;
    lu.remove(u'"').remove(u'\'');
    lu.remove(u' ');
    if (lu.isEmpty()) {
        code = enNombre(defaut, true).variant();
        return true;
    }
    // "1" or nothing: a SIRET number; any other scheme: a SANDRE code.
    const bool siret = origine.trimmed().isEmpty() || origine.trimmed() == QLatin1String("1");
    const QString cle = lu + (siret ? QStringLiteral("|S") : QStringLiteral("|A"));
    if (const auto i = m_connus.constFind(cle); i != m_connus.constEnd()) {
        code = *i;
        return true;
    }
    code = existant(lu, siret);
    if (code.isNull()) {
        if (!m_creerSansDemander) {
            if (m_crees.isEmpty() &&
                demander(m_reponses.creerTousIntervenants, texteIntegration::QUESTION_TOUS)) {
                m_creerSansDemander = true;
            } else if (!demander(m_reponses.creerIntervenant,
                                 texteIntegration::questionIntervenant(lu))) {
                m_arret = true;
                raison = texteIntegration::ARRET;
                return false;
            }
        }
        if (!creer(lu, siret, code, raison)) return false;
    }
    m_connus.insert(cle, code);
    return true;
}

} // namespace vyk
