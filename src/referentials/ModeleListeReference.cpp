#include "referentials/ModeleListeReference.h"

#include "users/Habilitations.h"

#include "app/Csv.h"
#include "classeur/Classeur.h"
#include "db/Messages.h"

#include <QFile>
#include <QSaveFile>

namespace vyk {

int GrilleListe::chercher(const QString &code) const
{
    const QString c = code.trimmed();
    for (int i = 0; i < nbLignes(); ++i)
        if (colonneCode < lignes[i].size() && lignes[i][colonneCode] == c) return i;
    return -1;
}

QString ModeleListeReference::texteIntrouvable(const QString &code)
{
    return QStringLiteral("Impossible de retrouver l'élément possédant le code ") + code;
}

CompteRendu ModeleListeReference::exporter(const QString &chemin) const
{
    if (cheminClasseur(chemin)) {
        QString erreur;
        if (exporterClasseur(chemin, nomExport(), m_grille.entetes, m_grille.lignes, &erreur))
            return reussite();
        return echec(erreur);
    }
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return echec(QStringLiteral("Impossible d'ouvrir le fichier ") + chemin +
                     QStringLiteral(".\nVérifiez qu'il ne soit pas déjà ouvert."));
    QByteArray octets("\xEF\xBB\xBF");
    octets += ligneCsv(m_grille.entetes, u';').toUtf8() + "\r\n";
    for (const QStringList &ligne : m_grille.lignes)
        octets += ligneCsv(ligne, u';').toUtf8() + "\r\n";
    if (fichier.write(octets) != octets.size() || !fichier.commit())
        return echec(QStringLiteral("Impossible d'écrire le fichier ") + chemin + u'.');
    return reussite();
}

int ModeleListeReference::majLigne(int ligne, const QStringList &texte)
{
    if (ligne < 0 || ligne >= m_grille.nbLignes()) {
        m_grille.lignes.append(texte);
        return m_grille.nbLignes() - 1;
    }
    m_grille.lignes[ligne] = texte;
    return ligne;
}

void ModeleListeReference::retirerLigne(int ligne)
{
    if (ligne >= 0 && ligne < m_grille.nbLignes()) m_grille.lignes.removeAt(ligne);
}

CompteRendu refusFiche(const QStringList &erreurs)
{
    QString texte;
    for (const QString &e : erreurs)
        texte += u'\n' + e;
    return echec(texte);
}

CompteRendu droitReferentiels()
{
    return peutModifierReferentiels() ? reussite() : echec(MESSAGE_REFUS_REFERENTIELS);
}

bool autoriserModificationReferentiels()
{
    return montrer(droitReferentiels());
}

} // namespace vyk
