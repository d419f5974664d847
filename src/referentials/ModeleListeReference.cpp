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

int ModeleListeReference::rechercherElement(const QString &code) const
{
    const int ligne = m_grille.chercher(code);
    if (ligne < 0)
        afficherMessage(GENRE_ERREUR,
                        QStringLiteral("Impossible de retrouver l'élément possédant le code ") +
                            code);
    return ligne;
}

bool ModeleListeReference::exporter(const QString &chemin) const
{
    if (cheminClasseur(chemin)) {
        QString erreur;
        if (exporterClasseur(chemin, nomExport(), m_grille.entetes, m_grille.lignes, &erreur))
            return true;
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly)) {
        afficherMessage(GENRE_ERREUR,
                        QStringLiteral("Impossible d'ouvrir le fichier ") + chemin +
                            QStringLiteral(".\nVérifiez qu'il ne soit pas déjà ouvert."));
        return false;
    }
    QByteArray octets("\xEF\xBB\xBF");
    octets += ligneCsv(m_grille.entetes, u';').toUtf8() + "\r\n";
    for (const QStringList &ligne : m_grille.lignes)
        octets += ligneCsv(ligne, u';').toUtf8() + "\r\n";
    if (fichier.write(octets) != octets.size() || !fichier.commit()) {
        afficherMessage(GENRE_ERREUR,
                        QStringLiteral("Impossible d'écrire le fichier ") + chemin + u'.');
        return false;
    }
    return true;
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

void afficherRefusFiche(const QStringList &erreurs)
{
    QString texte;
    for (const QString &e : erreurs)
        texte += u'\n' + e;
    afficherMessage(GENRE_ERREUR, texte);
}

bool autoriserModificationReferentiels()
{
    if (peutModifierReferentiels()) return true;
    afficherMessage(GENRE_ERREUR, MESSAGE_REFUS_REFERENTIELS);
    return false;
}

void afficherConfirmationFiche(const QString &texte)
{
    afficherMessage(GENRE_AIDE, texte);
}

} // namespace vyk
