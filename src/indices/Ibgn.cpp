#include "indices/Ibgn.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Outils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>

namespace vyk {

namespace {

double compte(const QString &texte)
{
    if (texte.trimmed().isEmpty()) return 0;
    const Nombre n = enNombre(texte.trimmed());
    return n.estNombre() && std::isfinite(n.valeur) ? n.valeur : 0;
}

// Writes the sums of each model row; the codes of the list that no row took are returned.
QStringList ecrireComptes(ClasseurModele &classeur, const QVector<LigneFaune> &liste, bool phaseC)
{
    using namespace modeleIbgn;
    QSet<QString> pris;
    for (int r = PREMIERE_LIGNE; !classeur.texte(r, COLONNE_SUITE).isEmpty(); ++r) {
        const QString code = classeur.texte(r, COLONNE_TAXON).trimmed();
        double a = 0, b = 0, c = 0;
        for (const LigneFaune &l : liste) {
            if (l.codeTaxon.trimmed() != code || code.isEmpty()) continue;
            pris.insert(code);
            a += compte(l.a);
            b += compte(l.b);
            if (phaseC) c += compte(l.c);
        }
        classeur.ecrire(r, COLONNE_A, a);
        classeur.ecrire(r, COLONNE_B, b);
        classeur.ecrire(r, COLONNE_C, c);
    }
    QStringList ignores;
    for (const LigneFaune &l : liste) {
        const QString code = l.codeTaxon.trimmed();
        if (!pris.contains(code) && !ignores.contains(code)) ignores << code;
    }
    return ignores;
}

bool estCodeParametre(const QString &texte)
{
    static const QRegularExpression chiffres(QStringLiteral("^\\d{1,9}$"));
    return chiffres.match(texte).hasMatch();
}

// The three results; an error text of the engine ("#N/A", "Err:502") is not a value.
void lireResultats(const ClasseurModele &classeur, CalculIbgn &calcul)
{
    using namespace modeleIbgn;
    for (int ligne = 2; ligne <= 4; ++ligne) {
        const QString code = classeur.texte(ligne, COLONNE_CODE).trimmed();
        if (code.isEmpty()) {
            if (ligne == 2) return; // no first result: nothing is taken
            continue;
        }
        if (!estCodeParametre(code)) {
            calcul.refus << texteIbgn::CODE_REFUSE.arg(ligne).arg(COLONNE_CODE).arg(code);
            continue;
        }
        const QString texte = classeur.texte(ligne, COLONNE_VALEUR).trimmed();
        if (texte.isEmpty()) continue;
        const Nombre n = enNombre(texte);
        if (!n.estNombre() || !std::isfinite(n.valeur)) {
            calcul.refus << texteIbgn::VALEUR_REFUSEE.arg(ligne).arg(COLONNE_VALEUR).arg(texte);
            continue;
        }
        calcul.resultats.append({code, n.valeur, texte});
    }
}

} // namespace

QString fichierSansCasse(const QString &dossier, const QString &nom)
{
    const QDir dir(dossier);
    if (QFileInfo(dir.filePath(nom)).isFile()) return dir.filePath(nom);
    const QStringList fichiers = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &f : fichiers)
        if (f.compare(nom, Qt::CaseInsensitive) == 0) return dir.filePath(f);
    return {};
}

QString choisirModeleIbgn(const QString &dossierModeles)
{
    return fichierSansCasse(dossierModeles, modeleIbgn::IBGN + modeleIbgn::EXTENSION).isEmpty()
               ? modeleIbgn::IBG_DCE
               : modeleIbgn::IBGN;
}

QString modeListeIbgn(const QString &protocole, const QString &libellePoint, const QString &defaut)
{
    QString mode = defaut;
    if (QStringList{QStringLiteral("704"), QStringLiteral("726"), QStringLiteral("471")}.contains(
            protocole.trimmed()))
        mode = QStringLiteral("3");
    if (libellePoint.contains(QStringLiteral("101"))) mode = QStringLiteral("1");
    return mode;
}

CalculIbgn calculIBGN(ClasseurModele &classeur, const QVector<LigneFaune> &liste,
                      const QString &protocole, const QString &modeListe,
                      const QString &dossierModeles, const QString &modele)
{
    CalculIbgn calcul;
    if (dossierModeles.trimmed().isEmpty() || !QFileInfo(dossierModeles).isDir()) {
        calcul.erreur = texteIbgn::CHEMIN_MODELES;
        return calcul;
    }
    const QString nomFichier = modele + modeleIbgn::EXTENSION;
    const QString fichier = fichierSansCasse(dossierModeles, nomFichier);
    if (fichier.isEmpty()) {
        calcul.erreur = texteIbgn::FICHIER_ABSENT.arg(QDir(dossierModeles).filePath(nomFichier));
        return calcul;
    }
    // The site's model stays as it is: a crash or a second user cannot leave it half written.
    QTemporaryDir travail;
    const QString copie = travail.filePath(QFileInfo(fichier).fileName());
    if (!travail.isValid() || !QFile::copy(fichier, copie)) {
        calcul.erreur = texteIbgn::ECHEC_COPIE.arg(fichier);
        return calcul;
    }
    QFile(copie).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (!classeur.ouvrir(copie)) {
        calcul.erreur = texteIbgn::ECHEC_MOTEUR.arg(fichier, classeur.erreur());
        return calcul;
    }
    const QStringList ignores = ecrireComptes(classeur, liste, modeListe == QLatin1String("3"));
    if (!ignores.isEmpty())
        calcul.avertissement = texteIbgn::TAXONS_IGNORES.arg(ignores.join(u','), modele);
    const Nombre codeProtocole = enNombre(protocole, true);
    classeur.ecrire(modeleIbgn::LIGNE_PROTOCOLE, modeleIbgn::COLONNE_PROTOCOLE,
                    codeProtocole.estNombre() ? QVariant(codeProtocole.valeur)
                                              : QVariant(protocole.trimmed()));
    if (!classeur.recalculer()) {
        calcul.erreur = texteIbgn::ECHEC_MOTEUR.arg(fichier, classeur.erreur());
        return calcul;
    }
    lireResultats(classeur, calcul);
    return calcul;
}

CalculIbgn calculIbgnOperation(ClasseurModele &classeur, const QVector<LigneFaune> &liste,
                               const QString &protocole, const QString &libellePoint)
{
    const QString dossier = lireRegistre(reglage::CheminModeles, {}, true);
    return calculIBGN(classeur, liste, protocole, modeListeIbgn(protocole, libellePoint), dossier,
                      choisirModeleIbgn(dossier));
}

} // namespace vyk
