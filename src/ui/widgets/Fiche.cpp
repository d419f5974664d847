#include "ui/widgets/Fiche.h"

#include "db/Messages.h"
#include "db/Outils.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace vyk {

namespace {
const char *const PROPRIETE_DATE_INCORRECTE = "dateIncorrecte";

QString lignesSuivies(const QVector<QStringList> &lignes)
{
    QStringList textes;
    for (const QStringList &l : lignes)
        textes << l.join(u'\x1f');
    return textes.join(u'\x1e');
}

QString valeurSuivie(QWidget *champ)
{
    if (auto *grille = qobject_cast<GrilleSaisie *>(champ)) {
        grille->validerSaisie(); // an edit still open counts
        return lignesSuivies(grille->lignes());
    }
    if (const auto *liste = qobject_cast<const GrilleDonnees *>(champ)) {
        QVector<QStringList> lignes;
        for (int l = 0; l < liste->nbLignes(); ++l)
            lignes << liste->ligne(l);
        return lignesSuivies(lignes);
    }
    if (const auto *option = qobject_cast<const QRadioButton *>(champ))
        return option->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return valeurChamp(champ);
}
} // namespace

Fiche::Fiche(QWidget *parent) : Ecran(parent)
{
    auto *sauver = new QShortcut(QKeySequence::Save, this);
    sauver->setContext(Qt::WidgetWithChildrenShortcut);
    connect(sauver, &QShortcut::activated, this, [this] { enregistrerFiche(); });
}

void Fiche::suivreChamps(const QList<QWidget *> &champs)
{
    for (QWidget *champ : champs)
        m_champs << champ;
    for (qsizetype i = 1; i < champs.size(); ++i)
        setTabOrder(champs[i - 1], champs[i]);
}

void Fiche::suivreGrille(QWidget *grille)
{
    m_champs << grille;
}

QStringList Fiche::valeurs() const
{
    QStringList v;
    for (const QPointer<QWidget> &champ : m_champs)
        v << (champ ? valeurSuivie(champ) : QString());
    return v;
}

void Fiche::marquerEnregistree()
{
    m_enregistrees = valeurs();
    m_nonEnregistree = false;
}

bool Fiche::estModifiee() const
{
    if (m_nonEnregistree) return true;
    return !m_enregistrees.isEmpty() && valeurs() != m_enregistrees;
}

bool Fiche::quitterModifications()
{
    if (!estModifiee()) return true;
    switch (afficherMessage(GENRE_QUESTION_ANNULER, texteFicheBase::ENREGISTRER_MODIFICATIONS)) {
    case BoutonOui:
        return enregistrerFiche();
    case BoutonNon:
        marquerEnregistree();
        return true;
    default:
        return false;
    }
}

void Fiche::definirBoutonParDefaut(QAbstractButton *bouton)
{
    m_boutonParDefaut = bouton;
    if (auto *poussoir = qobject_cast<QPushButton *>(bouton)) poussoir->setDefault(true);
}

void Fiche::signalerChampsRefuses(const QList<QWidget *> &champs)
{
    for (QWidget *champ : champs) {
        if (!champ) continue;
        champ->setFocus(Qt::OtherFocusReason);
        if (auto *ligne = qobject_cast<QLineEdit *>(champ)) ligne->selectAll();
        return;
    }
}

QWidget *Fiche::champ(const QString &) const
{
    return nullptr;
}

bool Fiche::refuser(const ListeRefus &refus)
{
    if (refus.isEmpty()) return false;
    afficherMessage(GENRE_ERREUR, messageRefus(refus));
    QList<QWidget *> champs;
    for (const QString &colonne : colonnesRefusees(refus))
        champs << champ(colonne);
    signalerChampsRefuses(champs);
    return true;
}

void Fiche::closeEvent(QCloseEvent *event)
{
    if (!quitterModifications()) {
        event->ignore();
        return;
    }
    Ecran::closeEvent(event);
}

// Enter left unused by a field (a line of text, a box) clicks the default command; the grids keep
// Enter for their own cells.
void Fiche::keyPressEvent(QKeyEvent *event)
{
    const bool entree = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget *focus = focusWidget();
    const bool dansGrille = focus && (qobject_cast<QAbstractItemView *>(focus) ||
                                      qobject_cast<QAbstractItemView *>(focus->parentWidget()));
    if (entree && !dansGrille && m_boutonParDefaut && m_boutonParDefaut->isEnabled() &&
        m_boutonParDefaut->isVisible()) {
        m_boutonParDefaut->click();
        event->accept();
        return;
    }
    Ecran::keyPressEvent(event);
}

void surveillerDate(QLineEdit *champ)
{
    if (champ->placeholderText().isEmpty()) champ->setPlaceholderText(QStringLiteral("jj/mm/aaaa"));
    auto verifier = [champ](bool saisieFinie) {
        const QString texte = champ->text().trimmed();
        const bool complete = saisieFinie || texte.size() >= 10;
        const bool incorrecte = !texte.isEmpty() && !lireDate(texte).isValid();
        if (incorrecte && !complete) return; // still typing
        if (champ->property(PROPRIETE_DATE_INCORRECTE).toBool() == incorrecte) return;
        champ->setProperty(PROPRIETE_DATE_INCORRECTE, incorrecte);
        QPalette palette;
        if (incorrecte) {
            palette = champ->palette();
            palette.setColor(QPalette::Base, fondSaisieIncorrecte());
        }
        champ->setPalette(palette);
        champ->setToolTip(incorrecte ? texteFicheBase::DATE_INCORRECTE : QString());
    };
    QObject::connect(champ, &QLineEdit::textChanged, champ, [verifier] { verifier(false); });
    QObject::connect(champ, &QLineEdit::editingFinished, champ, [verifier] { verifier(true); });
}

bool dateSignalee(const QLineEdit *champ)
{
    return champ->property(PROPRIETE_DATE_INCORRECTE).toBool();
}

QString nombreAffiche(const QString &texte)
{
    if (!estNombre(texte)) return texte;
    QString t = texte.trimmed();
    return t.replace(u'.', u',');
}

} // namespace vyk
