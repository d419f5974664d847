#!/usr/bin/env bash
# A throwaway PostgreSQL cluster on 127.0.0.1, on a free port, in a temporary folder.
# Sourced by test.sh: vyk_pg_demarrer sets VYK_TEST_PG_*; vyk_pg_arreter removes everything.

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
