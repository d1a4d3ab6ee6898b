// replaced by the shell sources
