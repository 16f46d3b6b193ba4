# make test: every test, natively and under Wine.   make demo: the main job.
BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
JOBS    ?= 2
TOOLCHAIN := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
wine_env = WINEPREFIX=$(abspath $(1))/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE_ENV := $(call wine_env,$(WIN32))

# The package groups (tools/install-deps.sh --list) each command uses. As root
# they are installed on the way; without root the apt-get line is printed and
# whatever needs a missing group is skipped with one line saying so.
DEPS        := ./tools/install-deps.sh
TEST_GROUPS := core wine voices browser fuzz dist
DEMO_GROUPS := core voices

DIST_ZIP := out/dist/vrn_gauges.zip

.PHONY: all deps native win32 test demo demo-build dist clean bench bench-run fuzz fuzz-run \
  fuzz-config inspect-fuzzer screenshot

all: native win32

deps:
	@$(DEPS) $(TEST_GROUPS)

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWIN32_BUILD_DIR=$(abspath $(WIN32))
	cmake --build $(NATIVE) -j$(JOBS)

win32: deps native
	cmake -S . -B $(WIN32) $(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release \
	  -DNATIVE_BUILD_DIR=$(abspath $(NATIVE))
	cmake --build $(WIN32) -j$(JOBS)

# The Windows configuration's tests fuzz gaugeinspect with $(INSPECT_FUZZER).
test: native win32 inspect-fuzzer
	@$(DEPS) --check browser || true
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(WIN32) --output-on-failure; status=$$?; \
	  $(WINE_ENV) wineserver -k 2>/dev/null; exit $$status
	@$(MAKE) --no-print-directory dist
	@if $(DEPS) --has dist; then \
	  sounds=; $(DEPS) --has voices || sounds=--no-sounds; \
	  sh tests/tools/gaugeinspect/check_dist.sh $$sounds $(DIST_ZIP) $(NATIVE)/bin; fi
	@$(MAKE) --no-print-directory fuzz

# The fuzzers: a clang build with libFuzzer (build/fuzz) of the modules, the
# host and the sound library, and of gaugeinspect. Each module's kept
# regression inputs are replayed, then it is fuzzed for FUZZ_SECONDS
# (tests/fuzz/); gaugeinspect's fuzzer, $(INSPECT_FUZZER), is run by the
# Windows configuration's tests on the real modules.
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 40
INSPECT_FUZZER := $(FUZZ)/bin/gaugeinspect_fuzz
fuzz-config: deps
	@if $(DEPS) --check fuzz; then \
	  cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGES_FUZZ=ON -DGAUGES_TESTS=OFF \
	    -DMODULE_FUZZ_SECONDS=$(FUZZ_SECONDS); fi

inspect-fuzzer: fuzz-config
	@if $(DEPS) --has fuzz; then cmake --build $(FUZZ) -j$(JOBS) --target gaugeinspect_fuzz; fi

fuzz: inspect-fuzzer
	@if $(DEPS) --has fuzz; then $(MAKE) --no-print-directory fuzz-run; fi

fuzz-run:
	cmake --build $(FUZZ) -j$(JOBS) --target gpws_fuzz radalt_fuzz cabsound_fuzz
	@ctest --test-dir $(FUZZ) --output-on-failure -V >$(FUZZ)/fuzz.log 2>&1; status=$$?; \
	  grep -E 'inputs flown|tests passed|tests failed' $(FUZZ)/fuzz.log; \
	  [ $$status = 0 ] || tail -80 $(FUZZ)/fuzz.log; exit $$status

# The demo builds only what it flies, in folders of its own: the real
# Windows modules and the sounds (no tests) in build/demo-win32, and a
# release native host without sanitizers in build/demo-native, which flies
# those .gau files in its emulated loader (no Wine, nothing 32-bit runs on
# this machine) and draws the pictures, the report and the envelope map of
# the same flight. Optimised as make bench is (-O2), the host as a unity
# build (the modules and the frame stay file by file).
DEMO_NATIVE := $(BUILD)/demo-native
DEMO_WIN32  := $(BUILD)/demo-win32
DEMO_CONFIG := -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_UNITY_BUILD=ON -DGAUGES_TESTS=OFF

demo-build:
	@$(DEPS) $(DEMO_GROUPS)
	@mkdir -p $(DEMO_WIN32) $(DEMO_NATIVE)
	@cmake -S . -B $(DEMO_WIN32) $(TOOLCHAIN) $(DEMO_CONFIG) >$(DEMO_WIN32)/configure.log
	cmake --build $(DEMO_WIN32) -j$(JOBS) --target demo_parts -- --no-print-directory
	@cmake -S . -B $(DEMO_NATIVE) $(DEMO_CONFIG) -DGAUGES_SANITIZE=OFF >$(DEMO_NATIVE)/configure.log
	cmake --build $(DEMO_NATIVE) -j$(JOBS) --target gaugehost -- --no-print-directory

demo: demo-build
	@mkdir -p out
	@# Spoken callouts when espeak-ng and sox are there, the generated tones otherwise.
	@# Each output is made aside and moved in whole, so out/ never holds half of one.
	@root=$(DEMO_WIN32)/voices; $(DEPS) --check voices || root=$(DEMO_WIN32)/root; \
	  [ -d $$root/Sound ] || { echo "demo: no $$root/Sound" >&2; exit 1; }; \
	  echo "== the default approach, the real .gau files of $(DEMO_WIN32)/bin in the emulated"; \
	  echo "   loader, sounds from $$root (event log: out/approach.log, sound track:"; \
	  echo "   out/approach.wav, report: out/approach.html, panel pictures: out/pictures/) =="; \
	  rm -rf out/pictures.tmp; \
	  if $(DEMO_NATIVE)/bin/gaugehost fly scenarios/approach.flight --modules $(DEMO_WIN32)/bin \
	       --loader emulated --root $$root --log out/approach.log.tmp --audio out/approach.wav \
	       --pictures out/pictures.tmp --report out/approach.html --summary; then \
	    mv out/approach.log.tmp out/approach.log; \
	    rm -rf out/pictures && mv out/pictures.tmp out/pictures; \
	  else rm -rf out/approach.log.tmp out/pictures.tmp; exit 1; fi; \
	  echo "== the GPWS envelope swept from the same vrn_gpws.gau: out/envelope.png =="; \
	  $(DEMO_NATIVE)/bin/gaugehost envelope out/envelope.png --modules $(DEMO_WIN32)/bin \
	    --loader emulated --root $$root

# Measured per-frame cost, module sizes and docs/performance.md: an optimised
# native build without sanitizers (build/bench) and the Windows modules.
BENCH := $(BUILD)/bench
bench: win32
	@$(DEPS) bench
	@if $(DEPS) --check bench; then $(MAKE) --no-print-directory bench-run; fi

bench-run:
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -g -DNDEBUG" \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -g -DNDEBUG" -DGAUGES_SANITIZE=OFF -DGAUGES_TESTS=OFF -DGAUGES_BENCH=ON
	cmake --build $(BENCH) -j$(JOBS) --target gauge_bench update_count gaugehost
	python3 bench/performance_report.py $(BENCH) $(WIN32)/bin docs/performance.md
	@if $(DEPS) --check browser; then cmake --build $(BENCH) -j$(JOBS) --target vrn_radalt vrn_gpws \
	  cabsound sim_root && /usr/bin/python3 bench/live_panel_cpu.py $(BENCH)/bin/gaugehost \
	  $(BENCH)/root 15 --out docs/performance.md scenarios/panel.cfg scenarios/approach.flight \
	  bench/live_descent.flight; fi

# The README's picture of the live panel: the browser test's screenshot, made
# here rather than kept in the repository.
screenshot: native
	@$(DEPS) --check browser
	ctest --test-dir $(NATIVE) -R '^serve\.browser$$' --output-on-failure
	cp $(NATIVE)/live_panel.png docs/live_panel.png

# The three modules, a sample panel section, the GPWS's spoken callouts, the
# sound list and the install guide, as one zip to hand out.
dist: win32
	@if $(DEPS) --check dist; then \
	  sounds=$(WIN32)/voices/Sound; $(DEPS) --check voices || sounds=; \
	  mkdir -p $(dir $(DIST_ZIP)) && sh dist/make_zip.sh $(WIN32)/bin $(DIST_ZIP) $$sounds; \
	else rm -f $(DIST_ZIP); fi

clean:
	rm -rf $(BUILD)
