#!/usr/bin/env bash
# Installs what is missing, builds the release, creates the default desktop database under the
# user's data folder when there is none, and starts VYK.
#   VYK_DATA_DIR   folder of the default database (default: $XDG_DATA_HOME/NORVALE/VYK6)
#   VYK_SETTINGS   settings file to use instead of the user's own
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependances.sh

vyk_installer_dependances "${VYK_PAQUETS[@]}"
vyk_installer_optionnels "${VYK_PAQUETS_OPTIONNELS[@]}"

# Started through sudo: the program and its data belong to the calling user.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "${SUDO_USER}" != "root" ]; then
    echo "== Suite en tant que ${SUDO_USER}"
    exec sudo -u "$SUDO_USER" -H --preserve-env=VYK_DATA_DIR,VYK_SETTINGS,DISPLAY,XAUTHORITY,WAYLAND_DISPLAY,QT_QPA_PLATFORM "$0" "$@"
fi

echo "== Compilation (release)"
cmake --preset release >/dev/null
cmake --build --preset release --target vyk vyk-cli

CLI=./build/release/src/vyk-cli
DONNEES=${VYK_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/NORVALE/VYK6}
BASE="$DONNEES/vyk.mdb"
mkdir -p "$DONNEES"
if [ ! -f "$BASE" ]; then
    echo "== Création de la base par défaut : $BASE"
    "$CLI" create "$BASE"
    echo "== Première connexion : utilisateur ADMIN, mot de passe KOBAL (à changer ensuite dans"
    echo "   Fichier › Gestion des utilisateurs…)"
fi
if [ -z "$("$CLI" settings get Base)" ]; then
    echo "== Paramétrage : base de bureau $BASE"
    "$CLI" settings set TypeBase ACCESS
    "$CLI" settings set Base "$BASE"
fi

echo "== Démarrage de VYK"
exec ./build/release/src/vyk "$@"
