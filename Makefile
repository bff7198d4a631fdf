# The two commands of the README: `make run` and `make test`.
# Both install the Debian packages that are missing, configure and build.

PACKAGES := g++ cmake make pkg-config libgtest-dev python3 \
  libglut-dev libglu1-mesa-dev libfreetype-dev libfreeimage-dev libboost-dev \
  libopenal-dev libsndfile1-dev nlohmann-json3-dev \
  xvfb xauth xdotool imagemagick sox fonts-ipafont-mincho fonts-ipafont-gothic \
  clang-format-14 graphviz
BENCH_PACKAGES := lua5.4 python3 time valgrind onscripter
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev

JOBS := $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

RUN_BUILD := build
TEST_BUILD := build-test
BENCH_BUILD := build-bench

.PHONY: run test bench fuzz deps bench-deps fuzz-deps build build-test fonts format format-check

# The demo game's fonts come from Debian's IPA font packages.
FONT_DIR := data/font
SYSTEM_FONTS := /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf \
  /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf

# Installs only what dpkg does not already report as installed.
define install
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install,$(PACKAGES))

bench-deps: deps
	$(call install,$(BENCH_PACKAGES))

fuzz-deps: deps
	$(call install,$(FUZZ_PACKAGES))

fonts: deps
	@mkdir -p $(FONT_DIR)
	@for f in $(SYSTEM_FONTS); do [ -f $(FONT_DIR)/$$(basename $$f) ] || cp $$f $(FONT_DIR)/; done

build: deps fonts
	cmake -S . -B $(RUN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(RUN_BUILD) -j$(JOBS)

build-test: fuzz-deps fonts
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKURA_SANITIZE=ON >/dev/null
	cmake --build $(TEST_BUILD) -j$(JOBS)

run: build
	@if [ -x $(RUN_BUILD)/kura ]; then \
	  if [ -z "$$DISPLAY" ]; then echo "no display: running under Xvfb"; exec xvfb-run -a -s "-screen 0 1280x1024x24" $(RUN_BUILD)/kura; \
	  else exec $(RUN_BUILD)/kura; fi; \
	else $(RUN_BUILD)/kel --help && $(RUN_BUILD)/kel docs/hello.kel; fi

test: build-test
	cd $(TEST_BUILD) && ctest --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory format-check
	@tools/test-ratio.sh

# Every tracked C and C++ file is kept as clang-format 14 lays it out.
FORMATTED = $(shell git ls-files '*.c' '*.cpp' '*.h' 2>/dev/null)

format: deps
	clang-format-14 -i $(FORMATTED)

format-check: deps
	@clang-format-14 --dry-run --Werror $(FORMATTED) || \
	  { echo "files differ from .clang-format: run 'make format'"; exit 1; }
	@echo "format: $(words $(FORMATTED)) files clean"

bench: bench-deps
	bench/build.sh $(BENCH_BUILD) $(JOBS) kel kura saves_bench
	bench/run.sh $(BENCH_BUILD)
	python3 bench/instructions.py $(BENCH_BUILD)/kel
	bench/engine/run.sh $(BENCH_BUILD)
	$(BENCH_BUILD)/saves_bench
	bench/check/run.sh $(BENCH_BUILD)

# Builds the libFuzzer targets with clang in build-fuzz and runs each for
# FUZZ_SECONDS on a corpus seeded from the script-level tests (and the
# progress reader on progress files).
FUZZ_SECONDS ?= 600
fuzz: fuzz-deps
	fuzz/run.sh build build-fuzz
	fuzz/run.sh fuzz build-fuzz $(FUZZ_SECONDS) source
	fuzz/run.sh fuzz build-fuzz $(FUZZ_SECONDS) compiled
	fuzz/run.sh fuzz build-fuzz $(FUZZ_SECONDS) progress
