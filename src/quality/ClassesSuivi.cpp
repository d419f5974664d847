#include "quality/ClassesSuivi.h"

#include "quality/Seuils.h"

namespace vyk {

namespace {

QString nombreAffiche(const QString &valeur)
{
    QString v = valeur.trimmed();
    if (v.startsWith(u'<') || v.startsWith(u'>')) v.remove(0, 1);
    return v;
}

} // namespace

void classerSuivi(TableauSuivi &tableau, const QString &seuil)
{
    for (LigneSuivi &ligne : tableau.lignes) {
        ligne.classes = QStringList(ligne.valeurs.size());
        if (seuil.trimmed().isEmpty()) continue;
        const auto bornes =
            chargerSeuils(seuil, QStringLiteral("0"), ligne.codeParametre, ligne.codeUnite);
        if (!bornes || bornes->bornes.isEmpty() || bornes->incoherent) continue;
        for (qsizetype c = 0; c < ligne.valeurs.size(); ++c) {
            const QString classe = getClasse(nombreAffiche(ligne.valeurs[c]), bornes->bornes);
            if (classe != QLatin1String("0")) ligne.classes[c] = classe;
        }
    }
}

} // namespace vyk
