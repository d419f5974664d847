#!/usr/bin/env bash
# A throwaway PostgreSQL cluster on 127.0.0.1, on a free port, in a temporary folder.
# Sourced by test.sh: vyk_pg_demarrer sets VYK_TEST_PG_* and, when PostgreSQL's ODBC driver is
# installed, an ODBC data source on the cluster (VYK_TEST_ODBC_DSN, ODBCSYSINI, ODBCINI) for the
# ODBC engine's tests; vyk_pg_arreter removes everything.

VYK_PG_DOSSIER=""
VYK_PG_UTILISATEUR=""

vyk_pg_bin() {
    local v
    v=$(ls -1 /usr/lib/postgresql 2>/dev/null | sort -V | tail -n 1)
    [ -n "$v" ] || { echo "PostgreSQL n'est pas installé (/usr/lib/postgresql)." >&2; return 1; }
    echo "/usr/lib/postgresql/$v/bin"
}

vyk_port_libre() {
    local p
    for p in $(seq 55432 55632); do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then
            echo "$p"
            return 0
        fi
    done
    return 1
}

# Runs a command as the cluster's owner (postgres refuses to run as root).
vyk_pg_comme() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$VYK_PG_UTILISATEUR" -- "$@"
    else
        "$@"
    fi
}

vyk_pg_demarrer() {
    local bin port
    bin=$(vyk_pg_bin) || return 1
    VYK_PG_DOSSIER=$(mktemp -d "${TMPDIR:-/tmp}/vyk-pg.XXXXXX")
    if [ "$(id -u)" -eq 0 ]; then
        VYK_PG_UTILISATEUR=postgres
        chown postgres: "$VYK_PG_DOSSIER"
    else
        VYK_PG_UTILISATEUR=$(id -un)
    fi
    echo "== Cluster PostgreSQL jetable dans $VYK_PG_DOSSIER"
    vyk_pg_comme "$bin/initdb" -D "$VYK_PG_DOSSIER/data" -U postgres --auth=trust \
        --encoding=UTF8 --locale=C.UTF-8 >"$VYK_PG_DOSSIER/initdb.log" 2>&1 || {
        cat "$VYK_PG_DOSSIER/initdb.log" >&2
        return 1
    }
    local essai
    for essai in 1 2 3; do
        port=$(vyk_port_libre) || { echo "Aucun port libre trouvé." >&2; return 1; }
        if vyk_pg_comme "$bin/pg_ctl" -D "$VYK_PG_DOSSIER/data" -l "$VYK_PG_DOSSIER/serveur.log" -w -t 60 \
            -o "-p $port -k $VYK_PG_DOSSIER -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c synchronous_commit=off -c max_connections=50" \
            start >/dev/null; then
            break
        fi
        port=""
    done
    [ -n "$port" ] || { cat "$VYK_PG_DOSSIER/serveur.log" >&2; return 1; }
    vyk_pg_comme "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres vyk_test
    export VYK_TEST_PG_HOST=127.0.0.1 VYK_TEST_PG_PORT=$port VYK_TEST_PG_USER=postgres VYK_TEST_PG_BASE=vyk_test
    echo "== PostgreSQL prêt sur 127.0.0.1:$port (base vyk_test)"
    vyk_odbc_source "$VYK_PG_DOSSIER/odbc" "$port"
}

# Writes a driver list and a data source "vyk_test" on the cluster into $1 (port $2), and
# points unixODBC at them; nothing when the driver is not installed.
vyk_odbc_source() {
    local dossier=$1 port=$2 pilote candidat
    # The first driver found; a missing candidate must not end a script run with set -e.
    pilote=""
    for candidat in /usr/lib/*/odbc/psqlodbcw.so /usr/lib/odbc/psqlodbcw.so; do
        if [ -f "$candidat" ]; then
            pilote=$candidat
            break
        fi
    done
    if [ -z "$pilote" ]; then
        echo "== Pas de pilote ODBC PostgreSQL : les tests du moteur ODBC seront sautés"
        return 0
    fi
    mkdir -p "$dossier"
    cat >"$dossier/odbcinst.ini" <<FIN
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$pilote
FIN
    cat >"$dossier/odbc.ini" <<FIN
[vyk_test]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=vyk_test
Username=postgres
FIN
    export ODBCSYSINI=$dossier ODBCINI=$dossier/odbc.ini VYK_TEST_ODBC_DSN=vyk_test
    echo "== Source de données ODBC vyk_test prête"
}

vyk_pg_arreter() {
    [ -n "$VYK_PG_DOSSIER" ] && [ -d "$VYK_PG_DOSSIER" ] || return 0
    local bin
    bin=$(vyk_pg_bin) || true
    echo "== Arrêt du cluster PostgreSQL jetable"
    vyk_pg_comme "$bin/pg_ctl" -D "$VYK_PG_DOSSIER/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$VYK_PG_DOSSIER"
    VYK_PG_DOSSIER=""
}
