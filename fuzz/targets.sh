# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by tools/ci-fuzz.sh and bench/fuzz.sh: the fuzz targets and the options each runs with.
fuzz_targets=(fuzz_number_text fuzz_is_newer_version fuzz_version_file fuzz_music_keys
              fuzz_settings_file fuzz_wave_file fuzz_beat_detector)

# Options every run shares: an input that takes 10 s is a hang; 2 GB resident is a leak.
fuzz_common_options=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

# Environment for a target's runs, as NAME=value words for env.
fuzz_environment() {
  case "$1" in
    # SDL reserves a data chunk's declared size (up to 4 GB) before reading what the file holds.
    # Untouched, that costs the program address space, not memory; under the sanitizer each
    # such block costs half a gigabyte of shadow and a tenth of a second. Refusing blocks over
    # 32 MB, as a system short of memory would, keeps the runs fast and tries SDL's way out.
    fuzz_wave_file) echo "ASAN_OPTIONS=max_allocation_size_mb=32:allocator_may_return_null=1" ;;
    *) echo "ASAN_OPTIONS=" ;;
  esac
}

fuzz_options() {
  case "$1" in
    fuzz_wave_file) echo "-max_len=4096" ;;
    # One second of audio at most per input.
    fuzz_beat_detector) echo "-max_len=96" ;;
    *) echo "-max_len=4096" ;;
  esac
}

# Builds the targets with clang in the given folder.
fuzz_build() {
  local dir=$1
  cmake -S "$fuzz_root/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
