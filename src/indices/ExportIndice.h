#pragma once

// The export of one operation list to an external index calculator: the calculator's
// configuration, the input frame, the run and the results read back. One object per command,
// made by creerExport for its index.

#include "db/Ligne.h"
#include "indices/Calculateur.h"
#include "indices/DescriptionIndice.h"
#include "indices/ResultatsIndice.h"

#include <QFile>

#include <memory>

namespace vyk {

class Tableau;

struct FiltresExport
{
    QString dateMinimum;                     // DD/MM/YYYY, included; "" for none
    QString dateMaximum;                     // DD/MM/YYYY, excluded; "" for none
    QString point;                           // sampling point identifier; "" for the index's
    QString protocole, selection, operation; // "" for none
};

// One exported operation of the station.
struct OperationExportee
{
    qint64 station = 0;
    QString table; // the station's taxa lists
    QString code;
    QString date; // YYYY-MM-DD
};

class ExportIndice
{
  public:
    explicit ExportIndice(const DescriptionIndice &indice) : m_indice(indice) {}
    virtual ~ExportIndice() = default;
    ExportIndice(const ExportIndice &) = delete;
    ExportIndice &operator=(const ExportIndice &) = delete;

    const DescriptionIndice &description() const { return m_indice; }
    // Sets the calculator's folder, registers and activates the index's parameters, removes
    // an earlier run's files. False with the reason in the error table.
    bool configuration(const QString &dossier);
    void demarreExport(const FiltresExport &filtres);
    // The frame: true on failure (as the operation screen tests it).
    bool ecritTrameDebut();
    virtual bool ecritTrameListe(Progression &progression);
    virtual void ecritTrameFin();
    ExecutionCalcul calculIndice(Progression &progression, int delaiSecondes);
    // Reads the first results file; false with the reason in the bilan.
    bool integrationResultats(BilanResultats &bilan);

    void initTabErreur() { m_erreurs.clear(); }
    void addErreur(const QString &message) { m_erreurs << message; }
    QString getTabErreur() const;
    QStringList getTabErreurAsTab() const { return m_erreurs; }

    const QString &repLocal() const { return m_repLocal; }
    QString cheminTrame() const { return m_repLocal + m_indice.fichierTrame; }
    QString codeBSS;
    QString designation, indice;

  protected:
    // The header line; none when the frame writes its own at the end.
    virtual QStringList entete() const = 0;
    // Before the operations, once the station is known; false stops the export.
    virtual bool preparer(qint64 /*station*/) { return true; }
    // Before the first operation, with every exported operation's code; false stops the export.
    virtual bool chargerOperations(qint64 /*station*/, const QString & /*table*/,
                                   const QStringList & /*operations*/)
    {
        return true;
    }
    // The lines of one operation; false stops the export.
    virtual bool ecrireOperation(const OperationExportee &operation) = 0;
    // After the last operation.
    virtual void terminerListe() {}

    void ecrire(const QStringList &champs);
    // A line already in UTF-8, without its end.
    void ecrire(QByteArrayView ligne);
    // The code of the station `codeBSS` (progress told); null, with the error, when unknown.
    QVariant stationExportee(Progression &progression);
    // Reads `sql`; false with "erreur lors de l'exécution de" in the error table.
    bool extraire(const QString &sql, Tableau &resultat);
    // The same, handing each row in turn to `fonction` without keeping them.
    bool parcourir(const QString &sql, const FonctionLigne &fonction);
    const FiltresExport &filtres() const { return m_filtres; }
    // The row's codeOperation field of the frame: station*date*I.
    QString codeOperationTrame(const OperationExportee &operation) const;

    const DescriptionIndice &m_indice;

  private:
    bool verifierFiltres();

    FiltresExport m_filtres;
    QString m_repLocal;
    QStringList m_erreurs;
    QFile m_trame;
};

// The export object of an index.
std::unique_ptr<ExportIndice> creerExport(const DescriptionIndice &indice);

// Digits only (a code that may reach a statement or the frame as a number).
bool estEntier(const QString &texte);

} // namespace vyk
