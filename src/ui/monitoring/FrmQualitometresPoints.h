#pragma once

// The sampling points of a station: their list, the form of one point (captions after its
// identifier), save, delete, its photos, and its operations.

#include "monitoring/PointsPrelevement.h"
#include "ui/widgets/Fiche.h"

#include <QHash>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleDonnees;

class FrmQualitometresPoints : public Fiche
{
    Q_OBJECT
  public:
    explicit FrmQualitometresPoints(qint64 station, QWidget *parent = nullptr);

    // One window per station.
    QString cleFenetre() const override { return objectName(); }
    bool enregistrerFiche() override { return enregistrer(); }

    qint64 station() const { return m_station; }
    // Reads the station's points again and shows the one of this code ("" for a new point).
    void chargerPoints(const QString &aSelectionner = {});
    void nouveau();
    bool enregistrer();
    bool supprimer();
    void afficherPhotos();
    // The point as the form holds it.
    FichePoint pointFormulaire() const;
    int nbPoints() const { return int(m_points.size()); }
    // The field of a column of QUALITOMETRES_POINTS.
    QWidget *champ(const QString &colonne) const override { return m_parColonne.value(colonne); }

    // The list of the station's points; the caption shown before a column's field.
    GrilleDonnees *grillePoints() const { return SprPoints; }
    QLabel *libelle(const QString &colonne) const;

  signals:
    // The operations of the point shown (its code), asked by the user.
    void operationsDemandees(qint64 station, qint64 codePoint);

  private:
    QLabel *LblStation;
    GrilleDonnees *SprPoints;
    ComboCodee *CboIdentifiant;
    QLineEdit *TxtNom;
    QLineEdit *TxtDateDebut;
    QLineEdit *TxtDateFin;
    QLineEdit *TxtLongueurTotale;
    QLineEdit *TxtXAmont, *TxtYAmont, *TxtXAval, *TxtYAval;
    QLineEdit *TxtX, *TxtY;
    ComboCodee *CboProjection;
    QLineEdit *TxtProfondeurRecommandee;
    QLabel *LblLargeurDebit, *LblProfDebut, *LblProfFin;
    QLineEdit *TxtLargeurDebit, *TxtProfDebut, *TxtProfFin;
    QPlainTextEdit *TxtObjetPrincipal, *TxtRecommandation, *TxtCommentaires;
    QVector<QLineEdit *> TxtPhotos;
    QPushButton *CmdNouveau, *CmdEnregistrer, *CmdSupprimer, *CmdPhotos, *CmdOperations;

    void afficher(const FichePoint &p);
    void ligneChoisie(int ligne);
    int lignePoint(const QString &code) const;
    void majLibelles();

    qint64 m_station;
    QString m_codeBSS;
    QVector<FichePoint> m_points;
    FichePoint m_point;
    bool m_retourLigne = false;
    QHash<QString, QWidget *> m_parColonne;
};

} // namespace vyk
