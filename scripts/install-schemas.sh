#!/usr/bin/env bash
# Installs the tax authority's published XSD schemas of the CF-e (emissao_cfe_000N.xsd) and of
# its cancellation (cancelamento_000N.xsd), layouts 0.06 to 0.08, into a Schemas folder under the
# names the program looks for, and the schema of its reception service (CfeRecepcao_0007.xsd,
# which declares the issued CF-e; looked for also in an "issued" folder below the given one)
# under its own name. The files are copied unchanged.
#
#   scripts/install-schemas.sh FOLDER_WITH_PUBLISHED_SCHEMAS [SCHEMAS_FOLDER]
#
# SCHEMAS_FOLDER defaults to build/Schemas, beside the program built by scripts/run.sh.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 FOLDER_WITH_PUBLISHED_SCHEMAS [SCHEMAS_FOLDER]" >&2
    exit 2
fi
source_dir=$1
target_dir=${2:-"$(dirname "$0")/../build/Schemas"}

# published name -> name the program looks for first
mapping=(
    emissao_cfe_0006.xsd:CFeRecebido.xsd
    emissao_cfe_0007.xsd:CFeRecebido_7.xsd
    emissao_cfe_0008.xsd:CFeRecebido_8.xsd
    cancelamento_0006.xsd:CancRecebido.xsd
    cancelamento_0007.xsd:CancRecebido_7.xsd
    cancelamento_0008.xsd:CancRecebido_8.xsd
    CfeRecepcao_0007.xsd:CfeRecepcao_0007.xsd
)

mkdir -p "$target_dir"
installed=0
for pair in "${mapping[@]}"; do
    published=${pair%%:*}
    name=${pair#*:}
    found=""
    for candidate in "$source_dir/$published" "$source_dir/issued/$published"; do
        if [ -f "$candidate" ]; then
            found=$candidate
            break
        fi
    done
    if [ -n "$found" ]; then
        install -m 0644 "$found" "$target_dir/$name"
        installed=$((installed + 1))
    else
        echo "not found: $source_dir/$published ($name not installed)" >&2
    fi
done

if [ "$installed" -eq 0 ]; then
    echo "no published schema found in $source_dir" >&2
    exit 1
fi
echo "$installed schema(s) installed in $target_dir"
