#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Sourced by run.sh and test.sh; runs apt-get as root or through sudo.
set -euo pipefail

VYK_PAQUETS=(
    g++ cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
    libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    libsqlite3-dev libpq-dev postgresql
    libquazip1-qt6-dev libfreexl-dev libxml2-dev libxlsxwriter-dev libproj-dev proj-data
    libgtest-dev libgmock-dev libbenchmark-dev
    xdg-utils
)

# Only the checks of test.sh need these (the ODBC driver of PostgreSQL runs the ODBC engine;
# xmllint checks the written request messages).
VYK_PAQUETS_TESTS=(clang-format unixodbc odbc-postgresql libxml2-utils)

# Optional components: the office engine that recalculates a site's workbook models (IBGN) and R,
# in which the public index calculators are written. A failure to install them does not stop the
# run: what needs them says so. VYK_SANS_OPTIONNELS=1 leaves them out.
VYK_PAQUETS_OPTIONNELS=(libreoffice-calc-nogui python3-uno r-base-core)
# The tests use the office engine only (the calculators they start are scripts of their own).
VYK_PAQUETS_OPTIONNELS_TESTS=(libreoffice-calc-nogui python3-uno)

vyk_en_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Les droits d'administration sont nécessaires (root ou sudo) pour : $*" >&2
        return 1
    fi
}

vyk_installer_dependances() {
    local manquants=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            manquants+=("$p")
        fi
    done
    if [ "${#manquants[@]}" -eq 0 ]; then
        echo "== Paquets Debian : tous présents"
        return 0
    fi
    echo "== Installation des paquets Debian manquants : ${manquants[*]}"
    vyk_en_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    vyk_en_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${manquants[@]}"
}

vyk_installer_optionnels() {
    if [ "${VYK_SANS_OPTIONNELS:-0}" = "1" ]; then
        echo "== Composants optionnels laissés de côté (VYK_SANS_OPTIONNELS=1)"
        return 0
    fi
    if ! (vyk_installer_dependances "$@"); then
        echo "== Composants optionnels non installés : $* (le calcul de l'IBGN par LibreOffice" \
             "et les calculateurs R ne seront pas disponibles)" >&2
    fi
    return 0
}
