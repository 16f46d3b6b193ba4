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
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo
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

# The demo builds only what it flies, in folders of its own: the Windows
# modules, FSSound.dll, gaugehost.exe and the sounds (no tests), and a
# release native host and modules without sanitizers for the pictures, the
# report and the envelope. Optimised as make bench is (-O2), the host as a
# unity build (the modules and the frame stay file by file); a new Wine
# prefix is made while they compile.
DEMO_NATIVE := $(BUILD)/demo-native
DEMO_WIN32  := $(BUILD)/demo-win32
DEMO_WINE_ENV := $(call wine_env,$(DEMO_WIN32))
DEMO_CONFIG := -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_UNITY_BUILD=ON -DGAUGES_TESTS=OFF

demo-build:
	@$(DEPS) $(DEMO_GROUPS)
	@mkdir -p $(DEMO_WIN32) $(DEMO_NATIVE); \
	  if [ ! -d $(DEMO_WIN32)/wineprefix ] && command -v wine >/dev/null; then \
	    ($(DEMO_WINE_ENV) wineboot -i >$(DEMO_WIN32)/wineboot.log 2>&1; \
	     $(DEMO_WINE_ENV) wineserver -w) & \
	  fi; \
	  cmake -S . -B $(DEMO_WIN32) $(TOOLCHAIN) $(DEMO_CONFIG) >$(DEMO_WIN32)/configure.log && \
	  cmake --build $(DEMO_WIN32) -j$(JOBS) --target demo_parts -- --no-print-directory && \
	  cmake -S . -B $(DEMO_NATIVE) $(DEMO_CONFIG) -DGAUGES_SANITIZE=OFF >$(DEMO_NATIVE)/configure.log && \
	  cmake --build $(DEMO_NATIVE) -j$(JOBS) --target gaugehost cabsound vrn_gpws vrn_radalt \
	    -- --no-print-directory; \
	  status=$$?; wait; exit $$status

WINE_PROBE := sh tools/wine_probe/wine-probe.sh
demo: demo-build
	@mkdir -p out
	@# Spoken callouts when espeak-ng and sox are there, the generated tones otherwise.
	@# Under Wine against the real modules where this machine runs 32-bit code
	@# (the same probe as the Wine tests'), natively otherwise.
	@root=$(DEMO_WIN32)/voices; $(DEPS) --check voices || root=$(DEMO_WIN32)/root; \
	  [ -d $$root/Sound ] || { echo "demo: no $$root/Sound" >&2; exit 1; }; \
	  if why=$$($(DEMO_WINE_ENV) $(WINE_PROBE) $(DEMO_WIN32)/bin/wine_probe.exe); then \
	    echo "== the default approach under Wine, against the real modules, sounds from $$root"; \
	    host="wine $(DEMO_WIN32)/bin/gaugehost.exe"; \
	  else \
	    echo "== Wine cannot run here: $$why"; \
	    echo "== the default approach natively, sounds from $$root"; \
	    host=$(DEMO_NATIVE)/bin/gaugehost; \
	  fi; \
	  echo "   (event log: out/approach.log, sound track: out/approach.wav) =="; \
	  $(DEMO_WINE_ENV) $$host fly scenarios/approach.flight --root $$root \
	  --log out/approach.log.tmp --audio out/approach.wav --summary; \
	  status=$$?; $(DEMO_WINE_ENV) wineserver -k 2>/dev/null; \
	  if [ $$status = 0 ]; then mv out/approach.log.tmp out/approach.log; else rm -f out/approach.log.tmp; fi; \
	  exit $$status
	@# The Windows build has no PNG library: the native host draws the pictures,
	@# the report page and the envelope map. Each is made aside and moved in
	@# whole, so out/ never holds half of one.
	@root=$(DEMO_WIN32)/voices; $(DEPS) --has voices || root=$(DEMO_WIN32)/root; \
	  echo "== the same approach natively: out/approach.html (report), out/pictures/ (panel"; \
	  echo "   pictures and contact sheet); the GPWS envelope: out/envelope.png =="; \
	  rm -rf out/pictures.tmp; \
	  if $(DEMO_NATIVE)/bin/gaugehost fly scenarios/approach.flight --root $$root --log /dev/null \
	       --pictures out/pictures.tmp --report out/approach.html; then \
	    rm -rf out/pictures && mv out/pictures.tmp out/pictures; \
	  else rm -rf out/pictures.tmp; exit 1; fi; \
	  $(DEMO_NATIVE)/bin/gaugehost envelope out/envelope.png --root $$root

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
