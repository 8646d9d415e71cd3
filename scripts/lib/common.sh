# Sourced by the entry points in scripts/ once they are in the clone's root: the project's
# version, the number of build jobs, building a preset and publishing a finished build.
#
# WISP_JOBS sets how many compilers run at once in every build and dependency build (default:
# one a core).
jobs=${WISP_JOBS:-$(nproc)}
export WISP_JOBS=$jobs

# The project's version, as CMakeLists.txt's project() states it.
version=$(sed -n 's/^project(OneQuillWisp VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# build_preset PRESET [CMAKE_OPTION...]: configures PRESET's build folder, with the options
# after the preset's own, and builds the preset with $jobs jobs.
build_preset() {
  local preset=$1
  shift
  cmake --preset "$preset" "$@" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
}

# publish DIR FILE...: the FILEs become DIR's whole content, DIR replaced only once they are all
# copied, so a failed build leaves the last finished one.
publish() {
  local dir=$1
  shift
  rm -rf "$dir.new"
  mkdir -p "$dir.new"
  cp "$@" "$dir.new/"
  rm -rf "$dir"
  mv "$dir.new" "$dir"
}
