#pragma once

// The export of one operation list to an external index calculator: the calculator's
// configuration, the input frame, the run and the results read back. One object per command.

#include "indices/Calculateur.h"
#include "indices/IndicesMacroinvertebres.h"
#include "indices/ResultatsIndice.h"

#include <QFile>

namespace vyk {

struct FiltresExport
{
    QString dateMinimum;                     // DD/MM/YYYY, included; "" for none
    QString dateMaximum;                     // DD/MM/YYYY, excluded; "" for none
    QString point;                           // sampling point identifier ("131")
    QString protocole, selection, operation; // "" for none
};

class ExportIndice
{
  public:
    explicit ExportIndice(const DescriptionIndice &indice) : m_indice(indice) {}

    // Sets the calculator's folder, registers and activates the index's parameters, removes
    // an earlier run's files. False with the reason in the error table.
    bool configuration(const QString &dossier);
    void demarreExport(const FiltresExport &filtres) { m_filtres = filtres; }
    // The frame: true on failure (as the operation screen tests it).
    bool ecritTrameDebut();
    bool ecritTrameListe(Progression &progression);
    void ecritTrameFin();
    ExecutionCalcul calculIndice(Progression &progression, int delaiSecondes);
    // Reads the first results file; false with the reason in the bilan.
    bool integrationResultats(BilanResultats &bilan);

    void initTabErreur() { m_erreurs.clear(); }
    void addErreur(const QString &message) { m_erreurs << message; }
    QString getTabErreur() const;
    QStringList getTabErreurAsTab() const { return m_erreurs; }

    const QString &repLocal() const { return m_repLocal; }
    QString codeBSS;
    QString designation, indice;

    static inline const QString FICHIER_TRAME = QStringLiteral("entreeVYK.txt");

  private:
    bool ecrireOperation(qint64 station, const QString &table, const QString &operation,
                         const QString &date);
    QString requeteTaxons(const QString &table, const QString &operation) const;
    QString typeNational();
    void ecrire(const QStringList &champs);

    const DescriptionIndice &m_indice;
    FiltresExport m_filtres;
    QString m_repLocal;
    QStringList m_erreurs;
    QFile m_trame;
    QString m_type; // the station's national type label, in the I2M2 frame
};

} // namespace vyk
