#pragma once

// Shared by the tests of the screens (tests/ui): a database at the current schema with the
// administrator logged in, and the gestures of a user on the screens.

#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/BaseTest.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace vyk::test {

// Screens are saved as pictures when VYK_CAPTURES names a folder (to look at them).
inline void capturer(QWidget &fenetre, const QString &nom)
{
    const QString dossier = qEnvironmentVariable("VYK_CAPTURES");
    if (!dossier.isEmpty())
        fenetre.grab().save(QDir(dossier).filePath(nom + QStringLiteral(".png")));
}

// Lets the windows closed or deleted go, as the event loop does between two gestures.
inline void traiterEvenements()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

// Types into a cell of an editable grid as the user does: the cell's editor, then the code
// chosen in a coded box, or the keys and Enter in a text.
inline void saisir(GrilleSaisie *grille, int ligne, int colonne, const QString &texte)
{
    QWidget *editeur = grille->editerCellule(ligne, colonne);
    ASSERT_NE(editeur, nullptr);
    if (auto *boite = qobject_cast<ComboCodee *>(editeur)) {
        ASSERT_TRUE(boite->selectionnerCode(texte)) << qPrintable(texte);
        grille->validerSaisie();
    } else {
        auto *champ = qobject_cast<QLineEdit *>(editeur);
        ASSERT_NE(champ, nullptr);
        champ->selectAll();
        QTest::keyClicks(champ, texte);
        QTest::keyClick(champ, Qt::Key_Return);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A database at the current schema; the administrator is the session's user.
class EcranTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        connecterAdministrateur();
    }

    template <typename T> static T *controle(QWidget *ecran, const QString &nom)
    {
        T *c = ecran->findChild<T *>(nom);
        EXPECT_NE(c, nullptr) << qPrintable(nom);
        return c;
    }
};

} // namespace vyk::test

// For fixtures derived from EcranTest: call in SetUp() first.
#define VYK_SETUP_ECRAN()                                                                          \
    do {                                                                                           \
        ::vyk::test::EcranTest::SetUp();                                                           \
        if (IsSkipped() || HasFatalFailure()) return;                                              \
    } while (0)
