#pragma once

#include "db/CompteRendu.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace vyk {

// A text file opened, used and closed within one operation (ouvrirFichier / lireLigne).
// Lines are decoded as UTF-8, or as Windows-1252 when they are not valid UTF-8.
class FichierTexte
{
  public:
    FichierTexte() = default;
    ~FichierTexte() { fermer(); }
    FichierTexte(const FichierTexte &) = delete;
    FichierTexte &operator=(const FichierTexte &) = delete;

    // -1 when nothing is open, as the handle of ouvrirFichier.
    int handle() const { return m_fichier ? 1 : -1; }
    bool estOuvert() const { return m_fichier != nullptr; }
    bool finFichier() const;
    // Reads up to a line feed; a carriage return before it stays in the line (callers strip it).
    QString lireLigne();
    bool ecrire(const QString &texte);
    bool ecrireLigne(const QString &texte) { return ecrire(texte + QStringLiteral("\r\n")); }
    void fermer();

  private:
    friend CompteRendu ouvrirFichier(const QString &chemin, FichierTexte &fichier, bool ecriture,
                                     bool ajout);
    std::unique_ptr<QFile> m_fichier;
};

// Read: a missing file leaves the handle at -1, refused without a text. Write: an existing file
// is deleted unless ajout. Otherwise refused with "Impossible d'ouvrir le fichier <chemin>." and
// "Vérifiez qu'il ne soit pas déjà ouvert.", handle -1. Nothing is shown.
CompteRendu ouvrirFichier(const QString &chemin, FichierTexte &fichier, bool ecriture,
                          bool ajout = false);

// UTF-8 text built in memory then saved in one go (creerFluxTexte).
class FluxTexte
{
  public:
    void WriteText(const QString &texte) { m_texte += texte; }
    // Overwrites the file; false when it cannot be written.
    bool SaveToFile(const QString &chemin) const;
    const QString &texte() const { return m_texte; }

  private:
    QString m_texte;
};

FluxTexte creerFluxTexte();

// Decodes bytes read from a file: UTF-8 when valid, Windows-1252 otherwise.
QString decoderTexte(const QByteArray &octets);

} // namespace vyk
