#include "indices/CalculIndiceOperation.h"

#include "indices/ExportsIndices.h"
#include "indices/Ibgn.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Sql.h"

#include <QDir>
#include <QFileInfo>

namespace vyk {

namespace {

IssueCalculIndice issue(const QString &genre, const QString &message)
{
    IssueCalculIndice i;
    i.genre = genre;
    i.message = message;
    return i;
}

QString racineCalculateurs()
{
    const QString r = lireRegistre(reglage::CheminR, {}, true);
    return r.isEmpty() || r.endsWith(u'/') || r.endsWith(u'\\') ? r : r + u'/';
}

// The frame written; the error table as one message when it is not empty.
QString ecrireTrame(ExportIndice &e, const FiltresExport &filtres, Progression &progression)
{
    e.demarreExport(filtres);
    if (!e.ecritTrameDebut()) e.ecritTrameListe(progression);
    e.ecritTrameFin();
    return e.getTabErreur();
}

IssueCalculIndice apresCalcul(ExportIndice &e)
{
    if (!e.description().integre) {
        IssueCalculIndice i = issue(GENRE_INFO, e.description().messageDocuments);
        i.documents = e.repLocal() + QStringLiteral("script");
        return i;
    }
    BilanResultats bilan;
    if (!e.integrationResultats(bilan)) return issue(GENRE_ERREUR, bilan.erreur);
    QString message = texteIbgn::TERMINE;
    for (const QString &ignore : bilan.ignores)
        message += u'\r' + ignore;
    IssueCalculIndice i = issue(GENRE_INFO, message);
    i.resultats = true;
    return i;
}

} // namespace

bool listeIndiceVide(const DescriptionIndice &indice, qint64 station, const QString &operation)
{
    const QString table =
        identifiantTable(QStringLiteral("QUALITOMETRES_LISTE_"), QString::number(station));
    if (!estEntier(operation) || !bd().tableExiste(table)) return true;
    return bd().valeur(QStringLiteral(
                           "SELECT COUNT(*) FROM %1 WHERE codeOperation = %2 AND codeListe = %3")
                           .arg(table, operation)
                           .arg(indice.codeListe))
               .toLongLong() == 0;
}

IssueCalculIndice calculerIndiceOperation(const DescriptionIndice &indice, qint64 station,
                                          const QString &codeBSS, const QString &operation,
                                          Progression &progression)
{
    if (listeIndiceVide(indice, station, operation))
        return issue(GENRE_INFO, indice.codeListe == 0 ? texteCalculIndice::LISTE_FLORE_VIDE
                                                       : texteIbgn::LISTE_VIDE);
    FiltresExport filtres;
    filtres.operation = operation;
    return lancerExport(indice, codeBSS, filtres, progression);
}

IssueCalculIndice calculerTendancesHype(const QString &codeBSS, const QString &selection,
                                        const QString &dateMinimum, const QString &dateMaximum,
                                        Progression &progression)
{
    FiltresExport filtres;
    filtres.selection = selection;
    filtres.dateMinimum = dateMinimum;
    filtres.dateMaximum = dateMaximum;
    return lancerExport(indiceHype(), codeBSS, filtres, progression);
}

IssueCalculIndice lancerExport(const DescriptionIndice &indice, const QString &codeBSS,
                               const FiltresExport &filtres, Progression &progression)
{
    const QString racine = racineCalculateurs();
    const QString nom =
        racine.isEmpty() ? QString() : dossierCalculateur(racine, indice.calculateur);
    if (nom.isEmpty()) return issue(GENRE_ERREUR, indice.messageDossier);
    const QString dossier = racine + nom;
    if (!QFileInfo(QDir(dossier).filePath(SCRIPT_DEMARRAGE)).isFile())
        return issue(GENRE_ERREUR, messageScriptAbsent(dossier));
    progression.position(10, 100);
    const auto e = creerExport(indice);
    e->initTabErreur();
    e->codeBSS = codeBSS;
    if (!e->configuration(dossier)) return issue(GENRE_ERREUR, e->getTabErreur());
    progression.position(20, 100);
    if (const QString erreurs = ecrireTrame(*e, filtres, progression); !erreurs.isEmpty())
        return issue(GENRE_ERREUR, erreurs);
    if (progression.annule()) return {};
    progression.position(60, 100);
    const ExecutionCalcul fin = e->calculIndice(progression, delaiCalculateurs());
    if (fin.fin == FinCalcul::Annule) return {};
    progression.position(70, 100);
    if (fin.fin != FinCalcul::Resultats) return issue(GENRE_ERREUR, fin.message);
    IssueCalculIndice i = apresCalcul(*e);
    progression.position(100, 100);
    return i;
}

} // namespace vyk
