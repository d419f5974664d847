#include "db/InsertionMassive.h"

#include "db/Moteur.h"
#include "db/Sql.h"

namespace vyk {

InsertionMassive::InsertionMassive(const QString &table, const QStringList &colonnes,
                                   BaseDonnees &base)
    : m_bd(base)
{
    if (!m_bd.estOuverte() || !m_bd.moteur()) {
        m_erreur = QStringLiteral("Aucune base de données n'est ouverte.");
        return;
    }
    bool ok = false;
    const QString nomTable = identifiantSql(table, &ok);
    QStringList noms;
    for (const QString &c : colonnes) {
        bool okColonne = false;
        noms << identifiantSql(c, &okColonne);
        ok = ok && okColonne;
    }
    if (!ok || noms.isEmpty()) {
        m_erreur =
            QStringLiteral("Nom de table ou de colonne invalide pour l'insertion dans « %1 ».")
                .arg(table);
        m_bd.noterErreur(table, m_erreur);
        return;
    }
    m_moteur = m_bd.moteur()->insertion(nomTable, noms, m_erreur);
    if (!m_moteur) {
        m_bd.noterErreur(table, m_erreur);
        return;
    }
    m_nbColonnes = int(noms.size());
    m_moteur->erreurLigne = [this](long long numero, const QString &message) {
        m_erreurs.append({numero, message});
        m_bd.noterErreur(QStringLiteral("INSERT (ligne %1)").arg(numero), message);
    };
}

InsertionMassive::~InsertionMassive()
{
    terminer();
}

bool InsertionMassive::ajouter(const QVector<QVariant> &ligne)
{
    if (!m_moteur) return false;
    if (ligne.size() != m_nbColonnes) {
        m_erreurs.append(
            {-1, QStringLiteral("Nombre de valeurs différent du nombre de colonnes.")});
        return false;
    }
    const bool ok = m_moteur->ajouter(ligne);
    m_bd.compterInstruction();
    return ok;
}

bool InsertionMassive::terminer()
{
    if (!m_moteur) return false;
    const bool ok = m_moteur->vider();
    return ok;
}

} // namespace vyk
