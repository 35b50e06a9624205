#!/usr/bin/env bash
# Checks the hosted CI's workflow against the schema of GitHub Actions
# workflows, with action-validator from npm (through npx):
#   check_workflow.sh WORKFLOW.yml
# Nothing here can run the workflow itself. Where npx is missing, or can't
# fetch the checker, this exits 77, which CTest reports as skipped: never as
# passed.
set -uo pipefail
workflow=$1
checker=@action-validator/cli@0.6.0
if ! command -v npx >/dev/null; then
  echo "npx not found: $workflow was not checked"
  exit 77
fi
if ! npx --yes --package="$checker" -- true >/dev/null 2>&1; then
  echo "$checker could not be fetched: $workflow was not checked"
  exit 77
fi
npx --yes "$checker" "$workflow" || exit 1
echo "$workflow follows the workflow schema"
