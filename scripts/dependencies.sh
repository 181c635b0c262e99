# Sourced by the set-up scripts: installs what building and testing need when
# it is missing. Debian 12 (as root, with apt-get) and macOS (with Homebrew).

korvo_debian_packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
    p7zip-full xvfb xauth poppler-utils fonts-dejavu-core)

korvo_ensure_dependencies() {
    case "$(uname -s)" in
    Darwin)
        if ! command -v brew >/dev/null; then
            echo "KORVObinder builds with Homebrew's Qt on macOS; install Homebrew first (https://brew.sh)." >&2
            exit 1
        fi
        brew list qt >/dev/null 2>&1 || brew install qt
        # 7za from p7zip, or 7zz (same switches) where Homebrew no longer offers p7zip.
        brew list p7zip >/dev/null 2>&1 || brew list sevenzip >/dev/null 2>&1 ||
            brew install p7zip || brew install sevenzip
        command -v cmake >/dev/null || brew install cmake
        command -v ninja >/dev/null || brew install ninja
        export CMAKE_PREFIX_PATH="$(brew --prefix qt)${CMAKE_PREFIX_PATH:+:$CMAKE_PREFIX_PATH}"
        ;;
    *)
        local missing=()
        for package in "${korvo_debian_packages[@]}"; do
            dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
        done
        if [ ${#missing[@]} -gt 0 ]; then
            if [ "$(id -u)" -ne 0 ]; then
                echo "Missing Debian packages: ${missing[*]}" >&2
                echo "Install them with: sudo apt-get install ${missing[*]}" >&2
                exit 1
            fi
            echo "Installing ${missing[*]} ..."
            apt-get update -qq
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
        fi
        ;;
    esac
}

korvo_jobs() {
    getconf _NPROCESSORS_ONLN 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2
}
