# Sourced by the build scripts: when ccache is installed, compilers run
# through it with its cache outside the tree (CCACHE_DIR, default
# ~/.cache/ccache), so a fresh clone on the same machine rebuilds from the
# cache. Paths under the checkout are hashed relative to it, which lets
# clones in different folders share entries.
# Sets `compiler_launcher`: the CMake arguments that choose the launcher.
compiler_launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
  compiler_launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
