#include "ui/widgets/MessagesGui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

// Looks at the message box once it is shown, then presses the given button (or Enter).
struct Observation
{
    QStringList boutons;
    QString defaut;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
};

Observation repondre(const QString &genre, const QString &texte, const QString &bouton,
                     int *resultat)
{
    Observation o;
    QTimer::singleShot(0, [&] {
        auto *boite = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(boite, nullptr);
        for (QAbstractButton *b : boite->buttons())
            o.boutons << b->text();
        o.defaut = boite->defaultButton() ? boite->defaultButton()->text() : QString();
        o.icone = boite->icon();
        for (QAbstractButton *b : boite->buttons())
            if (b->text() == bouton) b->click();
        if (bouton.isEmpty() && boite->defaultButton()) boite->defaultButton()->click();
    });
    MessagesGui gui;
    SortieMessagesTemporaire sortie(&gui);
    *resultat = afficherMessage(genre, texte);
    return o;
}

TEST(MessagesGui, QuestionEnFrancaisAvecNonParDefaut)
{
    int r = 0;
    Observation o =
        repondre(QStringLiteral("question"), QStringLiteral("Supprimer ?"), QString(), &r);
    EXPECT_EQ(o.boutons, QStringList({QStringLiteral("Oui"), QStringLiteral("Non")}));
    EXPECT_EQ(o.defaut, QStringLiteral("Non"));
    EXPECT_EQ(o.icone, QMessageBox::Question);
    EXPECT_EQ(r, BoutonNon);

    o = repondre(QStringLiteral("QUESTION"), QStringLiteral("Supprimer ?"), QStringLiteral("Oui"),
                 &r);
    EXPECT_EQ(r, BoutonOui);
}

TEST(MessagesGui, ErreurAideEtAutres)
{
    int r = 0;
    Observation o =
        repondre(QStringLiteral("Erreur"), QStringLiteral("Échec"), QStringLiteral("OK"), &r);
    EXPECT_EQ(o.boutons, QStringList({QStringLiteral("OK")}));
    EXPECT_EQ(o.icone, QMessageBox::Critical);
    EXPECT_EQ(r, BoutonOK);
    o = repondre(QStringLiteral("aide"), QStringLiteral("Info"), QStringLiteral("OK"), &r);
    EXPECT_EQ(o.icone, QMessageBox::Information);
    o = repondre(QStringLiteral("INFO"), QStringLiteral("Info"), QStringLiteral("OK"), &r);
    EXPECT_EQ(o.icone, QMessageBox::NoIcon);
}

} // namespace
