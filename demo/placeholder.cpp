// replaced by the demo sources
