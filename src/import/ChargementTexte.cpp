#include "import/ChargementTexte.h"

#include "db/FichiersTexte.h"
#include "db/Progression.h"

#include <QFile>
#include <QStringView>

namespace vyk {

namespace {

QStringList champs(QStringView ligne, int minimum)
{
    QStringList resultat;
    for (const QStringView champ : ligne.split(u';'))
        resultat.append(champ.toString());
    while (resultat.size() < minimum)
        resultat.append(QString());
    return resultat;
}

} // namespace

TextesChargement textesChargementGdes()
{
    return {texteChargement::TROP_DE_LIGNES_GDES, QStringLiteral("Chargement du fichier (ligne="),
            QStringLiteral(")")};
}

QString chargerTexte(const QByteArray &octets, GrilleImport &grille, Progression &progression,
                     bool entete, const TextesChargement &textes)
{
    grille.vider();
    grille.colonnes = nomsColonnesImport();
    QByteArray brut = octets;
    if (brut.startsWith("\xEF\xBB\xBF")) brut.remove(0, 3);
    const QString texte = decoderTexte(brut);
    brut.clear();
    const QList<QStringView> lignes = QStringView(texte).split(u'\n');
    auto nettoyer = [](QStringView l) { return l.endsWith(u'\r') ? l.chopped(1) : l; };
    qsizetype debut = 1;
    if (entete && !lignes.isEmpty()) {
        grille.colonnes = champs(nettoyer(lignes.first()), 0);
        debut = 2;
    }
    const int minimum = std::max<int>(NB_COLONNES_IMPORT, int(grille.colonnes.size()));
    for (qsizetype i = debut; i < lignes.size(); ++i) {
        if (progression.annule()) {
            grille.vider();
            return texteChargement::ANNULE;
        }
        const QStringView ligne = nettoyer(lignes[i]);
        if (ligne.trimmed().isEmpty()) continue;
        grille.lignes.append(champs(ligne, minimum));
        grille.origines.append(QStringLiteral("ligne ") + QString::number(i + 1));
        // Reaching the limit is already too much: the file is to be split.
        if (grille.nombreLignes() >= LIGNES_IMPORT_MAX) {
            grille.vider();
            return textes.trop;
        }
        if (grille.nombreLignes() % 100 == 0)
            progression.message(textes.avantNombre + QString::number(grille.nombreLignes()) +
                                textes.apresNombre);
    }
    return {};
}

QString chargerFichierTexte(const QString &chemin, GrilleImport &grille, Progression &progression,
                            bool entete, const TextesChargement &textes)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        grille.vider();
        return texteChargement::illisible(chemin);
    }
    return chargerTexte(fichier.readAll(), grille, progression, entete, textes);
}

} // namespace vyk
