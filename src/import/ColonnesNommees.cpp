#include "import/ColonnesNommees.h"

#include "db/CleColonne.h"
#include "db/FichiersTexte.h"
#include "db/Outils.h"
#include "import/ChargementTexte.h"
#include "import/LectureSandre.h"

#include <QFile>

#include <algorithm>

namespace vyk {

namespace {

QChar separateurDe(QStringView texte)
{
    const QStringView entete = texte.left(texte.indexOf(u'\n'));
    if (entete.contains(u';')) return u';';
    if (entete.contains(u'\t')) return u'\t';
    if (entete.contains(u',')) return u',';
    return u';';
}

} // namespace

QString lireTableNommee(const QByteArray &octets, TableNommee &table)
{
    table = {};
    QByteArray brut = octets;
    if (brut.startsWith("\xEF\xBB\xBF")) brut.remove(0, 3);
    const QString texte = decoderTexte(brut);
    brut.clear();
    QVector<EnregistrementCsv> enregistrements;
    QString erreur;
    if (!lireCsv(texte, separateurDe(texte), enregistrements, erreur)) return erreur;
    qsizetype i = 0;
    while (i < enregistrements.size() && enregistrementVide(enregistrements[i].champs))
        ++i;
    if (i == enregistrements.size()) return texteColonnesNommees::VIDE;
    table.entete = enregistrements[i].champs;
    for (QString &nom : table.entete)
        nom = nom.trimmed();
    for (++i; i < enregistrements.size(); ++i) {
        EnregistrementCsv &e = enregistrements[i];
        if (enregistrementVide(e.champs)) continue;
        if (e.champs.size() == table.entete.size()) {
            table.lignes.append(std::move(e));
            continue;
        }
        LigneEnErreur l;
        l.origine = QStringLiteral("ligne ") + QString::number(e.ligne);
        l.ligne = int(e.ligne);
        l.raison = texteColonnesNommees::champs(e.champs.size(), table.entete.size());
        table.erreurs.append(l);
    }
    return {};
}

QString lireFichierNomme(const QString &chemin, TableNommee &table)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        table = {};
        return texteChargement::illisible(chemin);
    }
    return lireTableNommee(fichier.readAll(), table);
}

ColonnesNommees::ColonnesNommees(const QStringList &entete, const QVector<NomsColonne> &noms)
    : m_entete(entete), m_prises(entete.size(), false)
{
    QStringList cles;
    for (const QString &nom : entete)
        cles << cleColonne(nom);
    int plusGrande = -1;
    for (const NomsColonne &n : noms)
        plusGrande = std::max(plusGrande, n.cible);
    m_positions.fill(-1, plusGrande + 1);
    for (const NomsColonne &n : noms)
        for (const QString &nom : n.noms) {
            const qsizetype p = cles.indexOf(cleColonne(nom));
            if (p < 0 || m_prises[p] || m_positions[n.cible] >= 0) continue;
            m_positions[n.cible] = int(p);
            m_prises[p] = true;
        }
}

QString ColonnesNommees::valeur(const QStringList &champs, int cible) const
{
    const int p = position(cible);
    return p >= 0 && p < champs.size() ? champs[p].trimmed() : QString();
}

QStringList ColonnesNommees::nonReprises() const
{
    QStringList noms;
    for (qsizetype i = 0; i < m_entete.size(); ++i)
        if (!m_prises[i] && !m_entete[i].isEmpty()) noms << m_entete[i];
    return noms;
}

void ColonnesNommees::signalerNonReprises(const QVector<EnregistrementCsv> &lignes,
                                          ElementsIgnores &ignores) const
{
    for (qsizetype i = 0; i < m_entete.size(); ++i) {
        if (m_prises[i] || m_entete[i].isEmpty()) continue;
        int n = 0;
        for (const EnregistrementCsv &e : lignes)
            if (i < e.champs.size() && !e.champs[i].trimmed().isEmpty()) ++n;
        ignores.ajouter(m_entete[i], n);
    }
}

} // namespace vyk
