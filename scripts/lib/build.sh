# Sourced by scripts/test and scripts/demo from the top of the tree.
#   orvella_build normal|sanitize [TARGET...]
# installs the Debian packages that are missing, then configures and builds
# build/ (normal) or build-sanitize/ (ASan + UBSan): everything, or only the
# targets named. Sets ORVELLA_BUILD_DIR to the folder built.
orvella_build() {
  local flavour=$1
  shift
  local flags=()
  if [ "$flavour" = sanitize ]; then
    ORVELLA_BUILD_DIR=build-sanitize
    flags=(-DORVELLA_SANITIZE=ON -DORVELLA_BENCH=OFF)
  else
    ORVELLA_BUILD_DIR=build
  fi
  local targets=()
  local target
  for target in "$@"; do targets+=(--target "$target"); done

  scripts/install-deps
  cmake -S . -B "$ORVELLA_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
  cmake --build "$ORVELLA_BUILD_DIR" -j "$(nproc)" "${targets[@]}"
}
