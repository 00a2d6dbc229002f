# Sourced by the default voice's slow checks: the festvox-ru corpus (skips
# the test with status 77 when it is not installed), a scratch data folder
# and registry removed at exit, and the servers of BUILD_DIR registered there.
# Sets build_dir, repo, corpus, work and voxamen.
# usage: source scratch-voice.sh BUILD_DIR SOURCE_DIR
build_dir=$1
repo=$2
corpus=/usr/share/festival/voices/russian/msu_ru_nsh_clunits
if [[ ! -f $corpus/etc/txt.done.data ]]; then
  echo "festvox-ru is not installed (scripts/install-deps.sh --voice): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VOXAMEN_REGISTRY_DIR=$work/registry XDG_DATA_HOME=$work/data
voxamen=$build_dir/bin/voxamen
"$voxamen" register "$build_dir"/lib/*.so >/dev/null || exit 1
