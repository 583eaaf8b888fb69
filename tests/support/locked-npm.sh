# Sourced by the test stages that run node against npm packages locked in a
# folder of their own (package.json + package-lock.json).

# require STAGE PATH HINT: ends the stage when PATH is missing, with HINT.
require() {
    if [ ! -e "$2" ]; then
        echo "$1: $2 is missing; $3" >&2
        exit 1
    fi
}

# install_locked DIR MODULE: installs DIR's locked packages when MODULE is
# missing from DIR/node_modules or the lock is newer than the installed tree.
install_locked() {
    local dir=$1 module=$2
    if [ ! -d "$dir/node_modules/$module" ] ||
        [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
        (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
    fi
}
