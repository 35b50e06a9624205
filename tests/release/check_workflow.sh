#!/usr/bin/env bash
# Checks a GitHub Actions workflow against the workflows' schema with
# action-validator from npm:   check_workflow.sh WORKFLOW.yml
# Exit 77, which CTest reports as skipped (never as passed), where npx is
# missing or can't fetch the checker.
checker=@action-validator/cli@0.6.0
if ! command -v npx >/dev/null || ! npx --yes --package="$checker" -- true >/dev/null 2>&1; then
  echo "npx or $checker is not at hand: $1 was not checked"
  exit 77
fi
npx --yes "$checker" "$1" && echo "$1 follows the workflow schema"
