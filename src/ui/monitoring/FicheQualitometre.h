#pragma once

#include "monitoring/EditionQualitometre.h"
#include "ui/widgets/Fiche.h"

#include <QHash>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vyk {

class ComboCodee;
class DispositionFormulaire;
class EditeurSatellites;

// The card of a water-quality station: its fields by tab, the header of its networks, the
// satellite grids each with its own save, the data summary; new, save, delete, previous/next
// over the visible rows of the station list. "Nouveau" asks for another, blank card.
class FicheQualitometre : public Fiche
{
    Q_OBJECT
  public:
    explicit FicheQualitometre(QWidget *parent = nullptr);

    bool charger(qint64 code);
    void nouveau();
    bool enregistrer();
    bool enregistrerFiche() override { return enregistrer(); }
    QString cleFenetre() const override;
    // The window of a stored station.
    static QString cleStation(const QString &code)
    {
        return QStringLiteral("FicheQualitometre:") + code;
    }
    bool supprimer();
    // Previous (-1) or next (1) visible station of the list.
    void naviguer(int sens);
    // The codes of the visible rows of the open list, in their order.
    void definirNavigation(std::function<QStringList()> codesVisibles)
    {
        m_codesVisibles = std::move(codesVisibles);
    }

    const EditionQualitometre &edition() const { return m_edition; }
    QWidget *champ(const QString &colonne) const override
    {
        return m_champs.value(colonne.toLower());
    }
    EditeurSatellites *editeur(const QString &sauvegarde) const;

  signals:
    // "Nouveau": a blank card is wanted beside this one.
    void nouvelleDemandee();
    void stationEnregistree(const QString &code);
    void stationSupprimee(const QString &code);
    // The sampling points, or the operations, of the saved station shown.
    void pointsDemandes(qint64 code);
    void operationsDemandees(qint64 code);
    // The physico-chemical samples of the station (its follow-up table).
    void prelevementsDemandes(qint64 code);
    // The chart window of the station's results.
    void graphiqueDemande(qint64 code);

  private:
    // What a page shows after its described fields.
    using SuitePage = std::function<void(DispositionFormulaire &, QWidget *)>;
    void construireChamps();
    QWidget *ajouterPage(const PageFiche &page, const SuitePage &suite = {});
    static QWidget *nouveauChamp(const ChampDecrit &champ, QWidget *parent);
    // A field and its caption shown or hidden together.
    void montrerLigne(const QString &colonne, bool visible);
    void afficher();
    void recueillir();
    void majType();
    void majBassins(int niveau);

    EditionQualitometre m_edition;
    std::function<QStringList()> m_codesVisibles;
    QHash<QString, QWidget *> m_champs;  // by lower-case column
    QList<QWidget *> m_ordreChamps;      // in the order of the form's rows
    QHash<QString, QLabel *> m_libelles; // captions, by lower-case column
    QVector<EditeurSatellites *> m_editeurs;
    QTabWidget *m_onglets;
    QWidget *m_ongletSouterrain = nullptr;
    QWidget *m_ongletSurface = nullptr;
    QLabel *LblEntete;
    QLabel *LblAltitude;
    QLabel *LblModification;
    QLabel *LblResume;
    QLabel *LblPiezometre;
    QPushButton *CmdNouveau;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdSupprimer;
    QPushButton *CmdPrecedent;
    QPushButton *CmdSuivant;
    QPushButton *CmdPoints;
    QPushButton *CmdOperations;
    QPushButton *CmdPrelevements;
    QPushButton *CmdGraphique;
    QVector<QRadioButton *> OptCalcium;
};

} // namespace vyk
